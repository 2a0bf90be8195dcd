// Frustum.h: the six clip planes of the current view in world coordinates, and the classification
// of axis-aligned cubes against them.
// Depends on: geometry/Octree.h (Cube); GL only in Frustum::Update.
#pragma once

struct Cube;

// Frustum::TestCube results.
inline constexpr int CubeOutside = 0;
inline constexpr int CubeIntersecting = 1;
inline constexpr int CubeInside = 2;

class Frustum {
 public:
  enum PlaneIndex { Right = 0, Left, Bottom, Top, Far, Near, PlaneCount };

  // Reads GL's projection and model-view matrices. With only the camera on the model-view stack the
  // planes come out in world coordinates.
  void Update();
  // The same from two column-major arrays as glGetFloatv gives them.
  void SetFromMatrices(const float projection[16], const float modelview[16]);
  // CubeOutside when all eight corners lie on the outer side of (or on) one plane, CubeInside when
  // all lie strictly inside every plane, otherwise CubeIntersecting. Conservative: a cube outside the
  // view but not wholly behind a single plane counts as intersecting. A never-updated frustum (all
  // planes zero) finds every cube outside.
  int TestCube(const Cube& cube) const;

  // Plane i as (a, b, c, d); a point is inside when a*x + b*y + c*z + d > 0.
  const float* Plane(int i) const { return planes_[i]; }

 private:
  float planes_[PlaneCount][4] = {};
};
