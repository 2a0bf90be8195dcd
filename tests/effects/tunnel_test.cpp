// Tunnel: the rings and quads it draws, the swaying view, the scroll and the speed swing
#include "effects/Tunnel.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>

#include "support/GLTest.h"
#include "support/Projection.h"

namespace {

using TunnelTest = testsupport::GLTest;

TEST(TunnelSpeedSwing, AccelerationChangesOnlyOutsideTheLimits) {
  const struct {
    float speed, acceleration;  // the speed, and the acceleration from 0 one frame at it gives
  } cases[] = {{2.7f, -0.00004f}, {1.0001f, -0.00004f}, {1.0f, 0},        {0.5f, 0},
               {0.1f, 0},         {0.0999f, 0.0004f},   {-0.05f, 0.0004f}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.speed);
    auto tunnel = std::make_unique<Tunnel>();
    tunnel->TunnelSpeed = c.speed;
    tunnel->UpdateSpeed();
    EXPECT_FLOAT_EQ(tunnel->Acceleration(), c.acceleration);
    EXPECT_FLOAT_EQ(tunnel->TunnelSpeed, c.speed + c.acceleration);
  }
}

// Compares the model-view matrix a frame leaves with its own sway view, 8 in, scaled by 0.8.
void ExpectViewOfFrame(int frame) {
  const double c = static_cast<double>(3.14f) * static_cast<double>(1.0f / 180.0f);
  const double a = static_cast<float>(frame * c), b = frame / 2 * c;
  GLfloat left[16], expected[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, left);
  glLoadIdentity();
  gluLookAt(0, 0, -16, 5 * std::cos(a), 5 * std::sin(b), -30, std::sin(a), 1, 0);
  glTranslatef(0, 0, -8);
  glScalef(0.8f, 0.8f, 0.8f);
  glGetFloatv(GL_MODELVIEW_MATRIX, expected);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(left[i], expected[i], 1e-6) << "frame " << frame << ", " << i;
}

TEST_F(TunnelTest, EachFrameSwaysTheViewAndScrollsWrappingPastEight) {
  auto tunnel = std::make_unique<Tunnel>();
  tunnel->Init();
  glTranslatef(3, 3, 3);  // Draw loads its own view
  tunnel->SetScroll(7.5f);
  tunnel->Draw(0);
  ExpectViewOfFrame(0);  // from (0, 0, -16) towards (5, 0, -30), up (0, 1, 0)
  EXPECT_FLOAT_EQ(tunnel->Scroll(), 7.5f + 2.7f);
  const float speed = tunnel->TunnelSpeed;  // already updated for the next frame
  tunnel->Draw(0);
  EXPECT_FLOAT_EQ(tunnel->Scroll(), 10.2f - 8 + speed);
  tunnel->SetScroll(8.0f);  // exactly 8 stays
  tunnel->Draw(0);
  EXPECT_GT(tunnel->Scroll(), 8.0f);
  for (int frame = 3; frame <= 31; ++frame) tunnel->Draw(0);
  ExpectViewOfFrame(31);
  tunnel->Init();  // a restart keeps the motion
  EXPECT_EQ(tunnel->FrameCount(), 32);
}

TEST_F(TunnelTest, DrawsNineHundredFiftyTwoWholeImageQuadsBetweenNeighbouringRings) {
  // Corner k of every ring sits at k * 45 * TunnelDegToRad, the float product of 3.14 and 1 / 180.
  EXPECT_EQ(std::bit_cast<uint32_t>(TunnelDegToRad), 0x3C8EE7A7u);
  auto tunnel = std::make_unique<Tunnel>();
  tunnel->Init();
  glMatrixMode(GL_PROJECTION);
  glOrtho(-2000, 2000, -2000, 2000, -5000, 5000);  // nothing is clipped
  glMatrixMode(GL_MODELVIEW);
  std::vector<std::array<testsupport::FeedbackVertex, 4>> quads;
  ASSERT_TRUE(testsupport::JoinQuads(testsupport::CapturePolygons([&] { tunnel->Draw(0); }, 1 << 20), quads));
  ASSERT_EQ(quads.size(), 952u);  // 119 ring pairs of 8 sides
  // Back to the tube's own space: undo the 0.8 scale the frame left and apply the scroll.
  glScalef(1.25f, 1.25f, 1.25f);
  glTranslatef(0, 0, tunnel->Scroll());
  for (size_t n = 0; n < quads.size(); ++n) {
    // Seven sides of each ring pair in order, then the closing sides from corner 7 back to 0.
    const int r = n < 833 ? static_cast<int>(n / 7) : static_cast<int>(n - 833), k = n < 833 ? n % 7 : 7;
    for (int c = 0; c < 4; ++c) {  // (r, k), (r, k + 1), (r + 1, k + 1), (r + 1, k)
      SCOPED_TRACE(testing::Message() << "quad " << n << " corner " << c);
      const bool next = c == 1 || c == 2;
      const double a = static_cast<float>((k + next) % 8 * 45 * static_cast<double>(TunnelDegToRad));
      const auto at = testsupport::ProjectPoint(5 * std::cos(a), 5 * std::sin(a), -8.0 * (r + c / 2));
      ASSERT_NEAR(quads[n][c].x, at[0], 1e-3);
      ASSERT_NEAR(quads[n][c].y, at[1], 1e-3);
      ASSERT_NEAR(quads[n][c].z, at[2], 1e-5);
      ASSERT_EQ(quads[n][c].texCoord[0], next ? 1 : 0);  // the whole image on every quad
      ASSERT_EQ(quads[n][c].texCoord[1], c / 2);
    }
  }
}

}  // namespace
