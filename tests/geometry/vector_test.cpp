// Tests for the vector and matrix math: constants, double-then-round precision, products, rotations
#include "geometry/Vector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

Matrix4 Numbered() {
  Matrix4 m;
  for (int i = 0; i < 16; ++i) m.m[i] = static_cast<float>(i + 1) * 0.5f - 3.0f;
  return m;
}

void ExpectSameBits(const Matrix4& a, const Matrix4& b) { EXPECT_EQ(std::memcmp(a.m, b.m, sizeof a.m), 0); }

TEST(Vector, DegToRadIsTheFloatAbovePiOver180) {
  EXPECT_EQ(DegToRad, 0.017453294f);
  const float rounded = static_cast<float>(3.14159265358979323846 / 180.0);
  EXPECT_EQ(std::nextafter(rounded, 1.0f), DegToRad);
}

TEST(Vector, DefaultsAndSet) {
  Vector3 v;
  EXPECT_EQ(v.x, 0.0f);
  EXPECT_EQ(v.z, 0.0f);
  v.Set(1.5f, -2.0f, 3.0f);
  EXPECT_EQ(v.y, -2.0f);
  Vector4 h;
  EXPECT_EQ(h.w, 1.0f);
  EXPECT_EQ(h.Length(), 0.0f);
}

TEST(Vector, NormalizeAndLengthRoundOnlyOnStore) {
  Vector3 v;
  v.Set(3.0f, 4.0f, 12.0f);
  v.Normalize();
  EXPECT_EQ(v.x, static_cast<float>(3.0 / 13.0));
  EXPECT_EQ(v.y, static_cast<float>(4.0 / 13.0));
  EXPECT_EQ(v.z, static_cast<float>(12.0 / 13.0));
  Vector3 zero;
  zero.Normalize();  // no direction: stays zero rather than NaN
  EXPECT_EQ(zero.x, 0.0f);
  EXPECT_EQ(zero.y, 0.0f);
  EXPECT_EQ(zero.z, 0.0f);

  // 1e20^2 overflows float but not double: the length must not become infinite.
  Vector4 big;
  big.x = 1e20f;
  big.y = 1e20f;
  EXPECT_EQ(big.Length(), static_cast<float>(std::sqrt(2.0) * 1e20f));
  big.w = 99.0f;  // w plays no part
  EXPECT_EQ(big.Length(), static_cast<float>(std::sqrt(2.0) * 1e20f));
}

TEST(Vector, CrossProduct) {
  Vector4 x, y;
  x.x = 1.0f;
  y.y = 1.0f;
  x.w = 7.0f;
  const Vector4 z = x.Cross(y);
  EXPECT_EQ(z.x, 0.0f);
  EXPECT_EQ(z.y, 0.0f);
  EXPECT_EQ(z.z, 1.0f);
  EXPECT_EQ(z.w, 1.0f);
  EXPECT_EQ(x.w, 7.0f);  // operands untouched
  const Vector4 back = y.Cross(x);
  EXPECT_EQ(back.z, -1.0f);

  Vector4 a, b;
  a.x = 1.0f;
  a.y = 2.0f;
  a.z = 3.0f;
  b.x = 2.0f;
  b.y = 4.0f;
  b.z = 6.0f;
  const Vector4 parallel = a.Cross(b);
  EXPECT_EQ(parallel.x, 0.0f);
  EXPECT_EQ(parallel.y, 0.0f);
  EXPECT_EQ(parallel.z, 0.0f);
  EXPECT_EQ(parallel.w, 1.0f);
}

TEST(Vector, CrossKeepsDoubleIntermediates) {
  // y*oz and oy*z are equal in float but differ in double; only the double difference survives.
  Vector4 a, b;
  a.y = 1.0f + 0x1p-23f;
  a.z = 1.0f;
  b.y = 1.0f;
  b.z = 1.0f - 0x1p-24f;
  const double exact = static_cast<double>(a.y) * b.z - static_cast<double>(b.y) * a.z;
  EXPECT_NE(exact, 0.0);
  EXPECT_EQ(a.Cross(b).x, static_cast<float>(exact));
}

TEST(Vector, Vector3ArithmeticRoundsOnceFromDouble) {
  const auto make = [](float x, float y, float z) {
    Vector3 v;
    v.Set(x, y, z);
    return v;
  };
  const Vector3 a = make(1.0f, 2.0f, 3.0f), b = make(0.5f, -2.0f, 1.0f);
  // y * z' and z * y' round to the same float; only their difference in double survives.
  const Vector3 near1 = make(0.0f, 1.0f + 0x1p-23f, 1.0f), near2 = make(0.0f, 1.0f, 1.0f - 0x1p-24f);
  const struct {
    const char* what;
    Vector3 got;
    float x, y, z;
  } cases[] = {
      {"a + b", Add(a, b), 1.5f, 0.0f, 4.0f},
      {"a - b", Subtract(a, b), 0.5f, 4.0f, 2.0f},
      {"a * -0.25", Scale(a, -0.25), -0.25f, -0.5f, -0.75f},
      {"a x b", Cross(a, b), 8.0f, 0.5f, -3.0f},
      {"near1 x near2", Cross(near1, near2), 0x1p-24f - 0x1p-47f, 0.0f, 0.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.got.x, c.x);
    EXPECT_EQ(c.got.y, c.y);
    EXPECT_EQ(c.got.z, c.z);
  }
}

TEST(Matrix, IdentityZeroAndTranspose) {
  Matrix4 m;
  for (int i = 0; i < 16; ++i) EXPECT_EQ(m.m[i], (i % 5 == 0) ? 1.0f : 0.0f) << i;
  m.SetZero();
  for (float e : m.m) EXPECT_EQ(e, 0.0f);
  m = Numbered();
  Matrix4 t = m;
  t.Transpose();
  EXPECT_EQ(t.m[1], m.m[4]);
  EXPECT_EQ(t.m[3], m.m[12]);
  EXPECT_EQ(t.m[14], m.m[11]);
  EXPECT_EQ(t.m[5], m.m[5]);
  t.Transpose();
  ExpectSameBits(t, m);
}

TEST(Matrix, MultiplyIsRowMajorAndLeavesOperands) {
  const Matrix4 a = Numbered();
  Matrix4 b;
  for (int i = 0; i < 16; ++i) b.m[i] = static_cast<float>((i * 7) % 11) - 4.0f;
  const Matrix4 aCopy = a, bCopy = b;
  const Matrix4 r = a.Multiply(b);
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 4; ++col) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) sum += static_cast<double>(a.m[4 * row + k]) * b.m[4 * k + col];
      EXPECT_EQ(r.m[4 * row + col], static_cast<float>(sum));
    }
  }
  ExpectSameBits(a, aCopy);
  ExpectSameBits(b, bCopy);
  Matrix4 identity;
  ExpectSameBits(identity.Multiply(a), a);
  ExpectSameBits(a.Multiply(identity), a);

  // A translation in row-major form moves a column vector.
  Matrix4 t;
  t.m[3] = 5.0f;
  Matrix4 p;
  p.SetZero();
  p.m[0] = 1.0f;
  p.m[4] = 2.0f;
  p.m[8] = 3.0f;
  p.m[12] = 1.0f;  // column 0 holds the point (1, 2, 3, 1)
  EXPECT_EQ(t.Multiply(p).m[0], 6.0f);
}

TEST(Matrix, MultiplySumsInDouble) {
  // Float accumulation would lose the small term: 1e8 + 1 - 1e8 is 0 in float, 1 in double.
  Matrix4 a, b;
  a.SetZero();
  b.SetZero();
  a.m[0] = 1e8f;
  a.m[1] = 1.0f;
  a.m[2] = -1e8f;
  b.m[0] = b.m[4] = b.m[8] = 1.0f;
  EXPECT_EQ(a.Multiply(b).m[0], 1.0f);
}

TEST(Matrix, RotationsAreRightHanded) {
  Matrix4 z;
  z.SetRotationZ(90.0f);
  const double a = 90.0 * DegToRad;
  EXPECT_EQ(z.m[0], static_cast<float>(std::cos(a)));
  EXPECT_NEAR(z.m[0], -1.5547e-7f, 1e-11f);  // DegToRad is rounded up, so cos 90 is not 0
  EXPECT_EQ(z.m[4], 1.0f);                   // (1, 0, 0) goes to (cos a, sin a, 0)
  EXPECT_EQ(z.m[1], -1.0f);
  EXPECT_EQ(z.m[15], 1.0f);
  EXPECT_EQ(z.m[10], 1.0f);

  Matrix4 full;
  full.SetRotationX(360.0f);
  EXPECT_NEAR(full.m[9], 6.2188e-7f, 1e-11f);

  Matrix4 y;
  y.SetRotationY(30.0f);
  EXPECT_EQ(y.m[2], static_cast<float>(std::sin(30.0 * DegToRad)));
  EXPECT_EQ(y.m[8], -y.m[2]);
  EXPECT_EQ(y.m[5], 1.0f);

  Matrix4 plus, minus;
  plus.SetRotationX(37.5f);
  minus.SetRotationX(-37.5f);
  minus.Transpose();
  ExpectSameBits(plus, minus);
}

TEST(Matrix, RotationStartsFromIdentity) {
  Matrix4 m = Numbered();
  m.SetRotationY(10.0f);
  EXPECT_EQ(m.m[3], 0.0f);
  EXPECT_EQ(m.m[12], 0.0f);
  EXPECT_EQ(m.m[1], 0.0f);
  EXPECT_EQ(m.m[15], 1.0f);
}

}  // namespace
