// Frustum: plane extraction from projection * model-view, and the cube test
#include "geometry/Frustum.h"

#include <GL/gl.h>

#include <cmath>

#include "geometry/Octree.h"

// The planes are normalised, so that the plane expression is a signed distance.

namespace {

// Row r of the matrix whose column-major array is clip, as a 4-vector: (clip[r], clip[4+r], ...).
void PlaneFromRows(const float clip[16], int row, float sign, float plane[4]) {
  for (int k = 0; k < 4; ++k) plane[k] = clip[4 * k + 3] + sign * clip[4 * k + row];
  const double length =
      std::sqrt(static_cast<double>(plane[0]) * plane[0] + static_cast<double>(plane[1]) * plane[1] +
                static_cast<double>(plane[2]) * plane[2]);
  // A degenerate plane (a singular matrix) stays as it is rather than turning into NaNs; a zero
  // plane rejects everything, like a frustum that was never updated.
  if (!(length > 0.0) || !std::isfinite(length)) {
    for (int k = 0; k < 4; ++k) plane[k] = 0.0f;
    return;
  }
  for (int k = 0; k < 4; ++k) plane[k] = static_cast<float>(plane[k] / length);
}

}  // namespace

void Frustum::Update() {
  float projection[16];
  float modelview[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
  SetFromMatrices(projection, modelview);
}

void Frustum::SetFromMatrices(const float projection[16], const float modelview[16]) {
  // The arrays multiplied as if row-major give the column-major array of projection * model-view.
  float clip[16];
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) sum += static_cast<double>(modelview[4 * i + k]) * projection[4 * k + j];
      clip[4 * i + j] = static_cast<float>(sum);
    }
  }
  PlaneFromRows(clip, 0, -1.0f, planes_[kRight]);
  PlaneFromRows(clip, 0, 1.0f, planes_[kLeft]);
  PlaneFromRows(clip, 1, 1.0f, planes_[kBottom]);
  PlaneFromRows(clip, 1, -1.0f, planes_[kTop]);
  PlaneFromRows(clip, 2, -1.0f, planes_[kFar]);
  PlaneFromRows(clip, 2, 1.0f, planes_[kNear]);
}

CubeVisibility Frustum::TestCube(const Cube& cube) const {
  // Corners from the centre (m) and half edge, each coordinate rounded to float.
  const float h = cube.size * 0.5f;
  const double mx = static_cast<double>(cube.x) + h;
  const double my = static_cast<double>(cube.y) + h;
  const double mz = static_cast<double>(cube.z) + h;
  const double xs[2] = {static_cast<float>(mx - h), static_cast<float>(mx + h)};
  const double ys[2] = {static_cast<float>(my - h), static_cast<float>(my + h)};
  const double zs[2] = {static_cast<float>(mz - h), static_cast<float>(mz + h)};

  bool allInside = true;
  for (const auto& p : planes_) {
    // Per-axis products shared by the eight corners.
    const double ax[2] = {p[0] * xs[0], p[0] * xs[1]};
    const double by[2] = {p[1] * ys[0], p[1] * ys[1]};
    const double cz[2] = {p[2] * zs[0], p[2] * zs[1]};
    const double d = p[3];
    int inside = 0;
    for (double a : ax) {
      for (double b : by) {
        for (double c : cz) inside += (a + b + c + d > 0.0) ? 1 : 0;
      }
    }
    if (inside == 0) return CubeVisibility::kOutside;
    if (inside != 8) allInside = false;
  }
  return allInside ? CubeVisibility::kInside : CubeVisibility::kIntersecting;
}
