// Matrix: products in float, as Mesa keeps its matrices; GLU's builders in its own precision.
#include "platform/webgl/Matrix.h"

#include <cmath>

namespace webgl {
namespace {

constexpr double kPi = 3.14159265358979323846;

void Normalize3(float v[3]) {
  const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (length == 0.0f) return;
  for (int i = 0; i < 3; ++i) v[i] /= length;
}

void Cross3(const float a[3], const float b[3], float out[3]) {
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}

}  // namespace

Mat4 Identity() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

Mat4 Multiply(const Mat4& a, const Mat4& b) {
  Mat4 out{};
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 4; ++r) {
      out[c * 4 + r] =
          a[r] * b[c * 4] + a[4 + r] * b[c * 4 + 1] + a[8 + r] * b[c * 4 + 2] + a[12 + r] * b[c * 4 + 3];
    }
  }
  return out;
}

Vec4 Transform(const Mat4& m, const Vec4& v) {
  Vec4 out{};
  for (int r = 0; r < 4; ++r) out[r] = m[r] * v[0] + m[4 + r] * v[1] + m[8 + r] * v[2] + m[12 + r] * v[3];
  return out;
}

Mat4 Translation(float x, float y, float z) {
  Mat4 m = Identity();
  m[12] = x;
  m[13] = y;
  m[14] = z;
  return m;
}

Mat4 Scaling(float x, float y, float z) {
  Mat4 m = Identity();
  m[0] = x;
  m[5] = y;
  m[10] = z;
  return m;
}

Mat4 Rotation(float degrees, float x, float y, float z) {
  const float length = std::sqrt(x * x + y * y + z * z);
  if (length <= 1.0e-4f) return Identity();
  x /= length;
  y /= length;
  z /= length;
  const float s = static_cast<float>(std::sin(degrees * kPi / 180.0));
  const float c = static_cast<float>(std::cos(degrees * kPi / 180.0));
  const float k = 1.0f - c;
  Mat4 m = Identity();
  m[0] = x * x * k + c;
  m[1] = y * x * k + z * s;
  m[2] = x * z * k - y * s;
  m[4] = x * y * k - z * s;
  m[5] = y * y * k + c;
  m[6] = y * z * k + x * s;
  m[8] = x * z * k + y * s;
  m[9] = y * z * k - x * s;
  m[10] = z * z * k + c;
  return m;
}

Mat4 Orthographic(double left, double right, double bottom, double top, double nearZ, double farZ) {
  Mat4 m = Identity();
  m[0] = static_cast<float>(2.0 / (right - left));
  m[5] = static_cast<float>(2.0 / (top - bottom));
  m[10] = static_cast<float>(-2.0 / (farZ - nearZ));
  m[12] = static_cast<float>(-(right + left) / (right - left));
  m[13] = static_cast<float>(-(top + bottom) / (top - bottom));
  m[14] = static_cast<float>(-(farZ + nearZ) / (farZ - nearZ));
  return m;
}

bool Perspective(double fovyDegrees, double aspect, double nearZ, double farZ, Mat4* out) {
  const double radians = fovyDegrees / 2 * kPi / 180;
  const double depth = farZ - nearZ;
  const double sine = std::sin(radians);
  if (depth == 0 || sine == 0 || aspect == 0) return false;
  const double cotangent = std::cos(radians) / sine;
  Mat4 m = Identity();
  m[0] = static_cast<float>(cotangent / aspect);
  m[5] = static_cast<float>(cotangent);
  m[10] = static_cast<float>(-(farZ + nearZ) / depth);
  m[11] = -1.0f;
  m[14] = static_cast<float>(-2 * nearZ * farZ / depth);
  m[15] = 0.0f;
  *out = m;
  return true;
}

Mat4 LookAt(const std::array<double, 9>& e) {
  float forward[3] = {static_cast<float>(e[3] - e[0]), static_cast<float>(e[4] - e[1]),
                      static_cast<float>(e[5] - e[2])};
  float up[3] = {static_cast<float>(e[6]), static_cast<float>(e[7]), static_cast<float>(e[8])};
  Normalize3(forward);
  float side[3];
  Cross3(forward, up, side);
  Normalize3(side);
  Cross3(side, forward, up);
  Mat4 m = Identity();
  for (int i = 0; i < 3; ++i) {
    m[i * 4] = side[i];
    m[i * 4 + 1] = up[i];
    m[i * 4 + 2] = -forward[i];
  }
  return Multiply(
      m, Translation(static_cast<float>(-e[0]), static_cast<float>(-e[1]), static_cast<float>(-e[2])));
}

std::array<float, 12> NormalMatrix(const Mat4& m) {
  // Cofactors of the upper 3 x 3 block are the inverse transpose times the determinant.
  auto at = [&m](int r, int c) { return static_cast<double>(m[c * 4 + r]); };
  double cof[3][3];
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      const int r1 = (r + 1) % 3, r2 = (r + 2) % 3, c1 = (c + 1) % 3, c2 = (c + 2) % 3;
      cof[r][c] = at(r1, c1) * at(r2, c2) - at(r1, c2) * at(r2, c1);
    }
  }
  const double det = at(0, 0) * cof[0][0] + at(0, 1) * cof[0][1] + at(0, 2) * cof[0][2];
  std::array<float, 12> out{};
  if (det == 0) return out;
  for (int c = 0; c < 3; ++c) {
    for (int r = 0; r < 3; ++r) out[c * 4 + r] = static_cast<float>(cof[r][c] / det);
  }
  return out;
}

}  // namespace webgl
