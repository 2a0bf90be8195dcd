// Tests for the camera: angle wrap, movement along the basis, the matrix and its application to GL.
#include "geometry/Camera.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "support/GLTest.h"

namespace {

struct Point {
  double x, y, z;
};

// Camera-space coordinates of a world point, from the column-major matrix.
Point ToEye(const Camera& cam, Point p) {
  const float* m = cam.matrix.m;
  return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
          m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
}

// Rotation about one axis by degrees, applied directly to a point (right-handed).
Point Rotate(Point p, int axis, double degrees) {
  const double a = degrees * DegToRad, c = std::cos(a), s = std::sin(a);
  if (axis == 0) return {p.x, c * p.y - s * p.z, s * p.y + c * p.z};
  if (axis == 1) return {c * p.x + s * p.z, p.y, -s * p.x + c * p.z};
  return {c * p.x - s * p.y, s * p.x + c * p.y, p.z};
}

Camera LandscapeStartPose() {
  Camera cam;
  cam.position.Set(-20.0f, -30.0f, -20.0f);
  cam.Yaw(-20.0f);
  cam.Pitch(-50.0f);
  cam.Update();
  return cam;
}

TEST(Camera, InitialState) {
  Camera cam;
  EXPECT_EQ(cam.forward.z, 1.0f);
  EXPECT_EQ(cam.forward.w, 1.0f);
  EXPECT_EQ(cam.up.y, 0.0f);
  EXPECT_EQ(cam.right.x, 0.0f);
  EXPECT_EQ(cam.matrix.m[0], 1.0f);
  EXPECT_EQ(cam.matrix.m[12], 0.0f);
  EXPECT_EQ(cam.angleY, 0.0f);
}

TEST(Camera, AnglesWrapOnceAtTheTopOnly) {
  Camera cam;
  for (int i = 1; i <= 119; ++i) {
    cam.Yaw(-3.0f);
    EXPECT_EQ(cam.angleY, 3.0f * i);
  }
  cam.Yaw(-3.0f);  // exactly 360 becomes 0
  EXPECT_EQ(cam.angleY, 0.0f);
  cam.Yaw(-3.0f);
  EXPECT_EQ(cam.angleY, 3.0f);

  cam.angleY = 359.0f;
  cam.Yaw(-5.0f);
  EXPECT_EQ(cam.angleY, 4.0f);
  cam.angleY = 350.0f;
  cam.Yaw(-400.0f);  // 750 is reduced by 360 once, not brought into range
  EXPECT_EQ(cam.angleY, 390.0f);

  Camera down;
  down.Yaw(3.0f);
  EXPECT_EQ(down.angleY, -3.0f);
  for (int i = 0; i < 200; ++i) down.Yaw(3.0f);
  EXPECT_EQ(down.angleY, -603.0f);  // no wrap below 0

  Camera other;
  other.Pitch(-50.0f);
  other.Roll(2.5f);
  EXPECT_EQ(other.angleX, 50.0f);
  EXPECT_EQ(other.angleZ, -2.5f);
  EXPECT_EQ(other.angleY, 0.0f);
}

TEST(Camera, MovesBeforeTheFirstUpdate) {
  Camera cam;
  cam.MoveUp(5.0f);
  cam.MoveSideways(5.0f);
  EXPECT_EQ(cam.position.x, 0.0f);
  EXPECT_EQ(cam.position.y, 0.0f);
  EXPECT_EQ(cam.position.z, 0.0f);
  cam.MoveForward(2.5f);
  EXPECT_EQ(cam.position.z, 2.5f);
  cam.MoveForward(0.0f);
  EXPECT_EQ(cam.position.z, 2.5f);
}

TEST(Camera, TranslationOnlyAndRotationOnly) {
  Camera cam;
  cam.position.Set(3.0f, -4.5f, 7.25f);
  cam.Update();
  EXPECT_EQ(cam.matrix.m[12], 3.0f);
  EXPECT_EQ(cam.matrix.m[13], -4.5f);
  EXPECT_EQ(cam.matrix.m[14], 7.25f);
  EXPECT_EQ(cam.matrix.m[3], 0.0f);
  EXPECT_EQ(cam.right.w, 3.0f);  // basis vectors are whole rows, w included
  EXPECT_EQ(cam.forward.w, 7.25f);

  cam.angleX = 30.0f;
  cam.angleY = 45.0f;
  cam.UpdateRotationOnly();
  EXPECT_EQ(cam.matrix.m[12], 0.0f);
  EXPECT_EQ(cam.matrix.m[13], 0.0f);
  EXPECT_EQ(cam.matrix.m[14], 0.0f);
  EXPECT_EQ(cam.forward.w, 0.0f);
  EXPECT_NEAR(cam.forward.Length(), 1.0f, 1e-6f);
}

TEST(Camera, MatrixTranslatesThenRotatesAboutZYX) {
  Camera cam;
  cam.position.Set(4.0f, -2.0f, 9.0f);
  cam.angleX = 25.0f;
  cam.angleY = -70.0f;
  cam.angleZ = 12.0f;
  cam.Update();
  const Point world{1.5, -3.0, 8.0};
  Point expected{world.x + 4.0, world.y - 2.0, world.z + 9.0};
  expected = Rotate(Rotate(Rotate(expected, 2, 12.0), 1, -70.0), 0, 25.0);
  const Point got = ToEye(cam, world);
  EXPECT_NEAR(got.x, expected.x, 1e-5);
  EXPECT_NEAR(got.y, expected.y, 1e-5);
  EXPECT_NEAR(got.z, expected.z, 1e-5);

  // Bit-exact composition order: ((Rx * Ry) * Rz) * T, then transposed.
  Matrix4 rx, ry, rz, t;
  rx.SetRotationX(25.0f);
  ry.SetRotationY(-70.0f);
  rz.SetRotationZ(12.0f);
  t.m[3] = 4.0f;
  t.m[7] = -2.0f;
  t.m[11] = 9.0f;
  Matrix4 m = rx.Multiply(ry).Multiply(rz).Multiply(t);
  EXPECT_EQ(cam.up.y, m.m[5]);
  EXPECT_EQ(cam.forward.x, m.m[8]);
  m.Transpose();
  EXPECT_EQ(std::memcmp(m.m, cam.matrix.m, sizeof m.m), 0);
}

TEST(Camera, LandscapeStartPose) {
  const Camera cam = LandscapeStartPose();
  EXPECT_EQ(cam.angleX, 50.0f);
  EXPECT_EQ(cam.angleY, 20.0f);
  // The eye sits at minus the position.
  const Point eye = ToEye(cam, {20.0, 30.0, 20.0});
  EXPECT_NEAR(eye.x, 0.0, 1e-5);
  EXPECT_NEAR(eye.y, 0.0, 1e-5);
  EXPECT_NEAR(eye.z, 0.0, 1e-5);
}

// After a move the old eye position, seen from the new camera, lies behind, left or below.
TEST(Camera, PositiveStepsMoveForwardRightAndUp) {
  struct Case {
    void (Camera::*move)(float);
    Point oldEyeSeen;
  };
  const Case cases[] = {{&Camera::MoveForward, {0, 0, 2.7}},
                        {&Camera::MoveSideways, {-2.7, 0, 0}},
                        {&Camera::MoveUp, {0, -2.7, 0}}};
  for (const Case& c : cases) {
    Camera cam = LandscapeStartPose();
    const Point oldEye{-cam.position.x, -cam.position.y, -cam.position.z};
    (cam.*c.move)(2.7f);
    cam.Update();
    const Point seen = ToEye(cam, oldEye);
    EXPECT_NEAR(seen.x, c.oldEyeSeen.x, 1e-4);
    EXPECT_NEAR(seen.y, c.oldEyeSeen.y, 1e-4);
    EXPECT_NEAR(seen.z, c.oldEyeSeen.z, 1e-4);
  }
}

TEST(Camera, MoveStepIsRoundedPerComponentThenAdded) {
  Camera cam;
  cam.forward = {0.1f, 1.0f / 3.0f, 0.7f, 1.0f};
  cam.position.Set(1.0f, 2.0f, 3.0f);
  cam.MoveForward(2.7f);
  EXPECT_EQ(cam.position.x, 1.0f + static_cast<float>(2.7f * static_cast<double>(0.1f)));
  EXPECT_EQ(cam.position.y, 2.0f + static_cast<float>(2.7f * static_cast<double>(1.0f / 3.0f)));
  cam.right = {1.0f, 0.0f, 0.0f, 1.0f};
  cam.MoveSideways(2.0f);  // steps along minus right
  EXPECT_EQ(cam.position.x, 1.0f + static_cast<float>(2.7f * static_cast<double>(0.1f)) - 2.0f);
}

class CameraGL : public testsupport::GLTest {};

TEST_F(CameraGL, ApplyMultipliesOntoTheModelView) {
  Camera cam;
  cam.position.Set(1.0f, 2.0f, 3.0f);
  cam.angleY = 90.0f;
  cam.Update();

  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(0.0f, 0.0f, -10.0f);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glScalef(2.0f, 2.0f, 2.0f);
  cam.Apply();

  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
  GLfloat projection[16], modelview[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
  EXPECT_EQ(projection[0], 2.0f);  // the projection was not touched
  for (int i = 0; i < 16; ++i) {
    const float expected = cam.matrix.m[i] + (i == 14 ? -10.0f : 0.0f);
    EXPECT_NEAR(modelview[i], expected, 1e-6f) << i;
  }
}

}  // namespace
