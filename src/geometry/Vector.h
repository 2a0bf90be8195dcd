// Vector: the engine's single-precision vector and matrix types and the degree-to-radian constant
#pragma once

// The engine's single-precision vector and matrix types (Vector3, Vector4, Matrix4) and the degree-to-radian
// constant. Every operation carries its products and sums in double and rounds to float only where a result
// is stored, so results are the same on every compiler and FPU setting.

// pi as a float (3.1415927) times 1/180 as a float (0.0055555557), the exact product rounded to float:
// 0.017453294, one float step above the correctly rounded pi/180. The product of two floats is exact
// in double, so the cast below rounds once.
inline constexpr float DegToRad = static_cast<float>(static_cast<double>(3.1415927f) * 0.0055555557f);
static_assert(DegToRad == 0.017453294f, "DegToRad must be the float one step above pi/180");

struct Vector3 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;

  void Set(float nx, float ny, float nz) {
    x = nx;
    y = ny;
    z = nz;
  }
  // Scales to unit length. A zero vector has no direction and stays zero (instead of turning into NaNs).
  void Normalize();
};

// Vector3 arithmetic, each component carried in double and rounded to float once.
Vector3 Add(const Vector3& a, const Vector3& b);
Vector3 Subtract(const Vector3& a, const Vector3& b);
Vector3 Scale(const Vector3& v, double factor);
Vector3 Cross(const Vector3& a, const Vector3& b);

// Homogeneous vector; w is carried along but ignored by Length and Cross.
struct Vector4 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  float w = 1.0f;

  float Length() const;
  // this x other, with w = 1.
  Vector4 Cross(const Vector4& other) const;
};

// Row-major: element (row r, column c) is m[4r + c]; points are column vectors (p' = M p), so a
// translation lives in m[3], m[7], m[11]. Transpose before handing it to GL.
struct Matrix4 {
  float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

  void SetZero();
  void SetIdentity();
  // this * other, built apart, so the result may be stored over either operand.
  Matrix4 Multiply(const Matrix4& other) const;
  void Transpose();
  // Identity with a right-handed rotation by the angle (degrees) about the axis.
  void SetRotationX(float degrees);
  void SetRotationY(float degrees);
  void SetRotationZ(float degrees);
};
