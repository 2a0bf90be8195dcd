// Tunnel: the ring table, the first view, the scroll, the speed swing and the quads drawn.
#include "effects/Tunnel.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>
#include <set>
#include <utility>

#include "support/GLTest.h"

namespace {

using TunnelTest = testsupport::GLTest;

void ExpectMatrixNear(const GLfloat* a, const GLfloat* b, float tolerance) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(a[i], b[i], tolerance) << "element " << i;
}

TEST(TunnelRings, AngleFactorIsTheCoarseFloatProduct) {
  EXPECT_EQ(std::bit_cast<uint32_t>(TunnelDegToRad), 0x3C8EE7A7u);
  EXPECT_NE(TunnelDegToRad, 0.017453294f);
}

TEST(TunnelRings, EightCornersOnRadiusFiveEightApart) {
  auto tunnel = std::make_unique<Tunnel>();
  tunnel->Build(-8, 5);
  for (int r = 0; r < Tunnel::kRings; ++r) {
    for (int k = 0; k < Tunnel::kCorners; ++k) {
      const Tunnel::Point& p = tunnel->At(r, k);
      ASSERT_EQ(p.z, -8.0f * r);
      ASSERT_NEAR(std::hypot(p.x, p.y), 5.0, 1e-5);
    }
  }
  EXPECT_EQ(tunnel->At(119, 0).z, -952.0f);
  EXPECT_EQ(tunnel->At(0, 0).x, 5.0f);
  EXPECT_EQ(tunnel->At(0, 0).y, 0.0f);
  // Corner 4 sits at 3.14 radians, not pi: just above the axis.
  EXPECT_NEAR(tunnel->At(0, 4).y, 5 * std::sin(3.14), 1e-5);
  EXPECT_GT(tunnel->At(0, 4).y, 0.007f);
  // The closing side (corner 7 back to 0) is a little longer than the others.
  const auto side = [&](int a, int b) {
    return std::hypot(tunnel->At(0, a).x - tunnel->At(0, b).x, tunnel->At(0, a).y - tunnel->At(0, b).y);
  };
  EXPECT_GT(side(7, 0), side(0, 1) + 0.005);
}

TEST(TunnelSpeedSwing, StartsAtTwoPointSevenAndSwingsWithoutSettling) {
  auto tunnel = std::make_unique<Tunnel>();
  EXPECT_EQ(tunnel->TunnelSpeed, 2.7f);
  float low = 10, high = -10;
  int reversals = 0;
  bool rising = false;
  float previous = tunnel->TunnelSpeed;
  for (int frame = 0; frame < 20000; ++frame) {
    tunnel->UpdateSpeed();
    const float speed = tunnel->TunnelSpeed;
    if (frame > 2000) low = std::min(low, speed), high = std::max(high, speed);
    if ((speed > previous) != rising) ++reversals, rising = speed > previous;
    previous = speed;
  }
  EXPECT_NEAR(low, -0.08, 0.03);
  EXPECT_NEAR(high, 2.8, 0.15);
  EXPECT_GT(reversals, 10);  // keeps turning round, never settles
}

TEST(TunnelSpeedSwing, FirstFramesSlowDownFromTheStart) {
  auto tunnel = std::make_unique<Tunnel>();
  tunnel->UpdateSpeed();
  EXPECT_FLOAT_EQ(tunnel->Acceleration(), -0.00004f);
  EXPECT_FLOAT_EQ(tunnel->TunnelSpeed, 2.7f - 0.00004f);
  tunnel->UpdateSpeed();
  EXPECT_FLOAT_EQ(tunnel->Acceleration(), -0.00008f);
  // Between the limits the acceleration is left alone.
  tunnel->TunnelSpeed = 0.5f;
  const float acceleration = tunnel->Acceleration();
  tunnel->UpdateSpeed();
  EXPECT_EQ(tunnel->Acceleration(), acceleration);
}

TEST_F(TunnelTest, FirstViewLooksFromMinusSixteenTowardsFiveZeroMinusThirty) {
  auto tunnel = std::make_unique<Tunnel>();
  tunnel->Init();
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  glMatrixMode(GL_MODELVIEW);
  glTranslatef(3, 3, 3);  // Draw loads its own view
  tunnel->Draw(0);
  GLfloat left[16], expected[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, left);
  glLoadIdentity();
  gluLookAt(0, 0, -16, 5, 0, -30, 0, 1, 0);
  glTranslatef(0, 0, -8);
  glScalef(0.8f, 0.8f, 0.8f);
  glGetFloatv(GL_MODELVIEW_MATRIX, expected);
  ExpectMatrixNear(left, expected, 1e-6f);
  EXPECT_EQ(tunnel->FrameCount(), 1);

  // The next frame has swayed: the matrix differs.
  tunnel->Draw(0);
  glGetFloatv(GL_MODELVIEW_MATRIX, left);
  float difference = 0;
  for (int i = 0; i < 16; ++i) difference += std::fabs(left[i] - expected[i]);
  EXPECT_GT(difference, 1e-3f);
}

TEST_F(TunnelTest, SwayFollowsTheFrameCount) {
  auto tunnel = std::make_unique<Tunnel>();
  tunnel->Init();
  for (int i = 0; i < 31; ++i) tunnel->Draw(0);
  tunnel->Draw(0);  // frame 31
  GLfloat left[16], expected[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, left);
  const double c = static_cast<double>(3.14f) * static_cast<double>(1.0f / 180.0f);
  const double a = static_cast<float>(31 * c), b = 15 * c;
  glLoadIdentity();
  gluLookAt(0, 0, -16, 5 * std::cos(a), 5 * std::sin(b), -30, std::sin(a), 1, 0);
  glTranslatef(0, 0, -8);
  glScalef(0.8f, 0.8f, 0.8f);
  glGetFloatv(GL_MODELVIEW_MATRIX, expected);
  ExpectMatrixNear(left, expected, 1e-6f);
}

TEST_F(TunnelTest, ScrollWrapsByEightAfterPassingIt) {
  auto tunnel = std::make_unique<Tunnel>();
  tunnel->Init();
  tunnel->SetScroll(7.5f);
  tunnel->Draw(0);
  EXPECT_FLOAT_EQ(tunnel->Scroll(), 10.2f);
  const float speed = tunnel->TunnelSpeed;  // already updated for the next frame
  tunnel->Draw(0);
  EXPECT_FLOAT_EQ(tunnel->Scroll(), 10.2f - 8 + speed);
  tunnel->SetScroll(8.0f);  // exactly 8 stays
  const float speed2 = tunnel->TunnelSpeed;
  tunnel->Draw(0);
  EXPECT_FLOAT_EQ(tunnel->Scroll(), 8.0f + speed2);
}

TEST_F(TunnelTest, DrawsNineHundredFiftyTwoWholeImageQuadsWithTheSlotTexture) {
  auto tunnel = std::make_unique<Tunnel>();
  tunnel->Init();
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-2000, 2000, -2000, 2000, -5000, 5000);  // nothing is clipped
  glMatrixMode(GL_MODELVIEW);
  const std::vector<float> feedback = testsupport::CaptureFeedback([&] { tunnel->Draw(texture); }, 1 << 20);
  // GL hands each quad back as two triangles; between them they hold the quad's four
  // texture corners, so every quad shows the whole image.
  int triangles = 0;
  std::set<std::pair<float, float>> quadCorners;
  for (size_t n = 0; n < feedback.size();) {
    ASSERT_EQ(feedback[n], GL_POLYGON_TOKEN);
    ASSERT_EQ(feedback[n + 1], 3.0f);
    for (int v = 0; v < 3; ++v) {
      const float* rec = &feedback[n + 2 + v * 11];
      quadCorners.insert({rec[7], rec[8]});
    }
    if (++triangles % 2 == 0) {
      ASSERT_EQ(quadCorners, (std::set<std::pair<float, float>>{{0, 0}, {1, 0}, {1, 1}, {0, 1}}));
      quadCorners.clear();
    }
    n += 2 + 3 * 11;
  }
  const int quads = triangles / 2;
  EXPECT_EQ(quads, 952);
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), texture);
}

}  // namespace
