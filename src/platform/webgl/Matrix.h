// Matrix: the 4 x 4 matrices of GL's three stacks and the products GL 1.1 and GLU build
//
// The 4 x 4 float matrices of GL's three stacks, column-major as GL stores them, and the products GL 1.1 and
// GLU build from their arguments.
#pragma once

#include <array>

namespace webgl {

using Mat4 = std::array<float, 16>;  // element (row r, column c) at [c * 4 + r]
using Vec4 = std::array<float, 4>;

Mat4 Identity();
Mat4 Multiply(const Mat4& a, const Mat4& b);  // a x b
Vec4 Transform(const Mat4& m, const Vec4& v);
Mat4 Translation(float x, float y, float z);
Mat4 Scaling(float x, float y, float z);
// Angle in degrees about (x, y, z), normalised; the identity for an axis of (nearly) zero length.
Mat4 Rotation(float degrees, float x, float y, float z);
Mat4 Orthographic(double left, double right, double bottom, double top, double nearZ, double farZ);
// gluPerspective's matrix; false (nothing to multiply) for a zero depth range, angle or aspect.
bool Perspective(double fovyDegrees, double aspect, double nearZ, double farZ, Mat4* out);
// gluLookAt's rotation and translation as one matrix.
Mat4 LookAt(const std::array<double, 9>& eyeCentreUp);
// The 3 x 3 matrix that takes normals to eye space (inverse transpose of the upper left of
// `m`), as three columns of four floats (the fourth unused); zero for a singular matrix.
std::array<float, 12> NormalMatrix(const Mat4& m);

}  // namespace webgl
