// Tunnel: the scroll and the speed swing, the swaying view and the rings and quads it draws
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

TEST_F(TunnelTest, AFrameScrollsByTheSpeedWrappingPastEightThenSwingsItOutsideItsLimits) {
  const struct {
    float speed, scroll, acceleration, scrolled;  // the acceleration from 0 one frame gives
  } cases[] = {{2.7f, 7.5f, -0.00004f, 10.2f}, {1.0001f, 8.0f, -0.00004f, 9.0001f},
               {1.0f, 10.25f, 0, 3.25f},       {0.1f, 0, 0, 0.1f},
               {0.0999f, 0, 0.0004f, 0.0999f}, {-0.05f, 0, 0.0004f, -0.05f}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.speed);
    auto tunnel = std::make_unique<Tunnel>();
    tunnel->TunnelSpeed = c.speed;
    tunnel->SetScroll(c.scroll);
    tunnel->Draw(0);
    EXPECT_FLOAT_EQ(tunnel->Scroll(), c.scrolled);
    EXPECT_FLOAT_EQ(tunnel->Acceleration(), c.acceleration);
    EXPECT_FLOAT_EQ(tunnel->TunnelSpeed, c.speed + c.acceleration);
  }
}

TEST_F(TunnelTest, DrawsNineHundredFiftyTwoWholeImageQuadsOnItsSwayingView) {
  // Corner k of every ring sits at k * 45 * TunnelDegToRad, the float product of 3.14 and 1 / 180.
  EXPECT_EQ(std::bit_cast<uint32_t>(TunnelDegToRad), 0x3C8EE7A7u);
  auto tunnel = std::make_unique<Tunnel>();
  tunnel->Init();
  glMatrixMode(GL_PROJECTION);
  glOrtho(-2000, 2000, -2000, 2000, -5000, 5000);  // nothing is clipped
  glMatrixMode(GL_MODELVIEW);
  for (int frame = 0; frame < 31; ++frame) tunnel->Draw(0);
  glTranslatef(3, 3, 3);  // Draw loads its own view
  std::vector<std::array<testsupport::FeedbackVertex, 4>> quads;
  ASSERT_TRUE(testsupport::JoinQuads(testsupport::CapturePolygons([&] { tunnel->Draw(0); }, 1 << 20), quads));
  ASSERT_EQ(quads.size(), 952u);  // 119 ring pairs of 8 sides
  // Frame 31's view: from (0, 0, -16) towards a centre circling a degree per frame sideways and
  // half that (in whole steps) up and down; then 8 in, and a 0.8 scale left for what comes next.
  const double step = static_cast<double>(3.14f) * static_cast<double>(1.0f / 180.0f);
  const double side = static_cast<float>(31 * step), upDown = 15 * step;
  GLfloat left[16], expected[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, left);
  glLoadIdentity();
  gluLookAt(0, 0, -16, 5 * std::cos(side), 5 * std::sin(upDown), -30, std::sin(side), 1, 0);
  glTranslatef(0, 0, -8);
  glPushMatrix();
  glScalef(0.8f, 0.8f, 0.8f);
  glGetFloatv(GL_MODELVIEW_MATRIX, expected);
  glPopMatrix();
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(left[i], expected[i], 1e-6) << i;
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
  tunnel->Init();  // a restart keeps the motion
  EXPECT_EQ(tunnel->FrameCount(), 32);
}

}  // namespace
