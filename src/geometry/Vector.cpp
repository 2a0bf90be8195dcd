// Vector: the vector and matrix operations, double intermediates rounded to float on store
#include "geometry/Vector.h"

#include <cmath>
#include <utility>

void Vector3::Normalize() {
  const double length =
      std::sqrt(static_cast<double>(x) * x + static_cast<double>(y) * y + static_cast<double>(z) * z);
  if (length == 0.0) return;
  x = static_cast<float>(x / length);
  y = static_cast<float>(y / length);
  z = static_cast<float>(z / length);
}

namespace {

Vector3 Rounded(double x, double y, double z) {
  Vector3 v;
  v.Set(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
  return v;
}

}  // namespace

Vector3 Add(const Vector3& a, const Vector3& b) {
  return Rounded(static_cast<double>(a.x) + b.x, static_cast<double>(a.y) + b.y,
                 static_cast<double>(a.z) + b.z);
}

Vector3 Subtract(const Vector3& a, const Vector3& b) {
  return Rounded(static_cast<double>(a.x) - b.x, static_cast<double>(a.y) - b.y,
                 static_cast<double>(a.z) - b.z);
}

Vector3 Scale(const Vector3& v, double factor) { return Rounded(v.x * factor, v.y * factor, v.z * factor); }

Vector3 Cross(const Vector3& a, const Vector3& b) {
  return Rounded(static_cast<double>(a.y) * b.z - static_cast<double>(a.z) * b.y,
                 static_cast<double>(a.z) * b.x - static_cast<double>(a.x) * b.z,
                 static_cast<double>(a.x) * b.y - static_cast<double>(a.y) * b.x);
}

float Vector4::Length() const {
  return static_cast<float>(
      std::sqrt(static_cast<double>(x) * x + static_cast<double>(y) * y + static_cast<double>(z) * z));
}

Vector4 Vector4::Cross(const Vector4& o) const {
  Vector4 r;
  r.x = static_cast<float>(static_cast<double>(y) * o.z - static_cast<double>(o.y) * z);
  r.y = static_cast<float>(static_cast<double>(o.x) * z - static_cast<double>(x) * o.z);
  r.z = static_cast<float>(static_cast<double>(o.y) * x - static_cast<double>(o.x) * y);
  r.w = 1.0f;
  return r;
}

void Matrix4::SetZero() {
  for (float& e : m) e = 0.0f;
}

void Matrix4::SetIdentity() {
  SetZero();
  m[0] = m[5] = m[10] = m[15] = 1.0f;
}

Matrix4 Matrix4::Multiply(const Matrix4& other) const {
  Matrix4 r;
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 4; ++col) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) sum += static_cast<double>(m[4 * row + k]) * other.m[4 * k + col];
      r.m[4 * row + col] = static_cast<float>(sum);
    }
  }
  return r;
}

void Matrix4::Transpose() {
  for (int row = 0; row < 4; ++row) {
    for (int col = row + 1; col < 4; ++col) std::swap(m[4 * row + col], m[4 * col + row]);
  }
}

namespace {

// The angle in radians stays in double: rounding it to float first would move sin/cos.
struct SinCos {
  float s;
  float c;
};

SinCos AngleSinCos(float degrees) {
  const double radians = static_cast<double>(degrees) * DegToRad;
  return {static_cast<float>(std::sin(radians)), static_cast<float>(std::cos(radians))};
}

}  // namespace

void Matrix4::SetRotationX(float degrees) {
  SetIdentity();
  const SinCos a = AngleSinCos(degrees);
  m[5] = a.c;
  m[6] = -a.s;
  m[9] = a.s;
  m[10] = a.c;
}

void Matrix4::SetRotationY(float degrees) {
  SetIdentity();
  const SinCos a = AngleSinCos(degrees);
  m[0] = a.c;
  m[2] = a.s;
  m[8] = -a.s;
  m[10] = a.c;
}

void Matrix4::SetRotationZ(float degrees) {
  SetIdentity();
  const SinCos a = AngleSinCos(degrees);
  m[0] = a.c;
  m[1] = -a.s;
  m[4] = a.s;
  m[5] = a.c;
}
