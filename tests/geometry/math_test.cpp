// Vector and matrix arithmetic, and the camera's turns, moves and matrix
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "geometry/Camera.h"

namespace {

using Point = std::array<double, 3>;

// p turned right-handedly by `degrees` about axis 0, 1 or 2 (x, y, z).
Point Turn(Point p, int axis, double degrees) {
  const double a = degrees * DegToRad, c = std::cos(a), s = std::sin(a), u = p[(axis + 1) % 3],
               v = p[(axis + 2) % 3];
  p[(axis + 1) % 3] = c * u - s * v;
  p[(axis + 2) % 3] = s * u + c * v;
  return p;
}

// The column-major matrix (as the camera keeps it) applied to the point (x, y, z, 1).
void ExpectMaps(const float* m, const Point& p, const Point& expected, double tolerance) {
  for (int r = 0; r < 4; ++r) {
    double sum = 0;
    for (int k = 0; k < 4; ++k) sum += m[4 * k + r] * (k < 3 ? p[k] : 1.0);
    EXPECT_NEAR(sum, r < 3 ? expected[r] : 1.0, tolerance) << "row " << r;
  }
}

TEST(VectorAndMatrix, ArithmeticRoundsOnceFromDouble) {
  const Vector3 a = Vector3{1, 2, 3}, b = Vector3{0.5f, -2, 1};
  // y * z' and z * y' are equal in float; only their difference in double survives.
  const Vector3 n1 = Vector3{0, 1 + 0x1p-23f, 1}, n2 = Vector3{0, 1, 1 - 0x1p-24f};
  const Vector4 pq = Vector4{0, n1.y, 1, 7}.Cross({0, 1, n2.z, 5}),
                xy = Vector4{1, 0, 0, 7}.Cross({0, 1, 0, 5});
  Vector3 unit{3, -4, 12}, zero{0, 0, 0};
  unit.Normalize(), zero.Normalize();  // zero has no direction: it stays zero instead of turning into NaNs
  const std::tuple<const char*, Vector3, Vector3> cases[] = {
      {"add", Add(a, b), Vector3{1.5f, 0, 4}},
      {"subtract", Subtract(a, b), Vector3{0.5f, 4, 2}},
      {"scale", Scale(a, -0.25), Vector3{-0.25f, -0.5f, -0.75f}},
      {"cross", Cross(a, b), Vector3{8, 0.5f, -3}},
      {"cross in double", Cross(n1, n2), Vector3{0x1p-24f - 0x1p-47f, 0, 0}},
      {"normalize", unit, Vector3{3.0f / 13, -4.0f / 13, 12.0f / 13}},
      {"zero", zero, Vector3{0, 0, 0}},
      {"vector4 cross", Vector3{xy.x, xy.y, xy.z}, Vector3{0, 0, 1}},
      {"vector4 cross in double", Vector3{pq.x, pq.y, pq.z}, Vector3{0x1p-24f - 0x1p-47f, 0, 0}},
  };
  for (const auto& [what, got, expected] : cases)
    EXPECT_EQ(std::tuple(got.x, got.y, got.z), std::tuple(expected.x, expected.y, expected.z)) << what;
  EXPECT_EQ(xy.w, 1.0f);
  // Squares of 1e20 overflow float, not double; w plays no part.
  EXPECT_FLOAT_EQ((Vector4{2e20f, -3e20f, 6e20f, 99}.Length()), 7e20f);
  // The rotations themselves are checked through the camera's matrix. DegToRad is rounded up, so cos 90
  // degrees is not 0; products sum in double, as float sums would lose the 1 of 1e8 + 1 - 1e8.
  Matrix4 z, big, ones;
  z.SetRotationZ(90.0f);
  EXPECT_NEAR(z.m[0], -1.5547e-7f, 1e-11f);
  big.m[0] = 1e8f;
  big.m[1] = 1.0f;
  big.m[2] = -1e8f;
  ones.m[4] = ones.m[8] = 1.0f;
  EXPECT_EQ(big.Multiply(ones).m[0], 1.0f);
}

TEST(Camera, TurnsWrapOnceAtTheTopAndTheMatrixTranslatesThenTurnsAboutZYXAndStepsMoveForwardRightAndUp) {
  // The angle, the turn and the angle after it.
  const float cases[][3] = {{357, -3, 0}, {359, -5, 4},    {350, -400, 390},
                            {0, 3, -3},   {-600, 3, -603}, {10, 0.5f, 9.5f}};
  for (const auto& [angle, delta, expected] : cases) {
    Camera cam;
    cam.angleX = cam.angleY = cam.angleZ = angle;
    cam.Pitch(delta);
    cam.Yaw(delta);
    cam.Roll(delta);
    EXPECT_EQ((std::array<float, 3>{cam.angleX, cam.angleY, cam.angleZ}),
              (std::array<float, 3>{expected, expected, expected}))
        << angle << " " << delta;
  }
  // The matrix moves the world by the position first, then turns it about z, y and x in that order; the
  // sky's matrix only turns. After each positive step the old eye, seen from the moved camera, lies behind,
  // to the left or below.
  Camera cam;
  cam.position.Set(4.0f, -2.0f, 9.0f);
  cam.angleX = 25.0f, cam.angleY = -70.0f, cam.angleZ = 12.0f;
  const auto turned = [](Point p) { return Turn(Turn(Turn(p, 2, 12.0), 1, -70.0), 0, 25.0); };
  cam.Update();
  ExpectMaps(cam.matrix.m, {1.5, -3.0, 8.0}, turned({5.5, -5.0, 17.0}), 1e-5);
  cam.UpdateRotationOnly();
  ExpectMaps(cam.matrix.m, {1.5, -3.0, 8.0}, turned({1.5, -3.0, 8.0}), 1e-5);
  const std::pair<void (Camera::*)(float), Point> steps[] = {{&Camera::MoveForward, {0, 0, 2.7}},
                                                             {&Camera::MoveSideways, {-2.7, 0, 0}},
                                                             {&Camera::MoveUp, {0, -2.7, 0}}};
  for (const auto& [move, oldEyeSeen] : steps) {
    cam.Update();
    const Point oldEye{-cam.position.x, -cam.position.y, -cam.position.z};
    (cam.*move)(2.7f);
    cam.Update();
    ExpectMaps(cam.matrix.m, oldEye, oldEyeSeen, 1e-4);
  }
}

}  // namespace
