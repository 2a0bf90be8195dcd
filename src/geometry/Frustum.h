// Frustum: the view's six clip planes in world coordinates, and cubes classified against them
#pragma once

struct Cube;

// Where a cube lies against the view (Frustum::TestCube), numbered as the classes always were.
enum class CubeVisibility : int { kOutside = 0, kIntersecting = 1, kInside = 2 };

class Frustum {
 public:
  enum PlaneIndex { kRight = 0, kLeft, kBottom, kTop, kFar, kNear, kPlaneCount };

  // Reads GL's projection and model-view matrices. With only the camera on the model-view stack the
  // planes come out in world coordinates.
  void Update();
  // The same from two column-major arrays as glGetFloatv gives them.
  void SetFromMatrices(const float projection[16], const float modelview[16]);
  // kOutside when all eight corners lie on the outer side of (or on) one plane, kInside when all lie
  // strictly inside every plane, otherwise kIntersecting. Conservative: a cube outside the view but
  // not wholly behind a single plane counts as intersecting. A never-updated frustum (all planes
  // zero) finds every cube outside.
  CubeVisibility TestCube(const Cube& cube) const;

  // Plane i as (a, b, c, d); a point is inside when a*x + b*y + c*z + d > 0.
  const float* Plane(int i) const { return planes_[i]; }

 private:
  float planes_[kPlaneCount][4] = {};
};
