// Test support: where a point lands in the window under the current GL matrices and viewport
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>

#include <array>

namespace testsupport {

// Window x, y and depth of the object-space point (x, y, z), as GL would place it now.
inline std::array<double, 3> ProjectPoint(double x, double y, double z) {
  GLdouble modelview[16], projection[16];
  GLint viewport[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  glGetIntegerv(GL_VIEWPORT, viewport);
  std::array<double, 3> at{};
  gluProject(x, y, z, modelview, projection, viewport, &at[0], &at[1], &at[2]);
  return at;
}

}  // namespace testsupport
