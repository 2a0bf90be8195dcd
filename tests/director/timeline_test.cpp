// The timeline: scene windows, the frame bracket, the slot switch, the end.
#include "director/Timeline.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "platform/HeadlessPlatform.h"
#include "support/GLTest.h"

using namespace platform;

namespace {

TEST(SceneAt, WindowsAreHalfOpen) {
  EXPECT_EQ(SceneAt(-1), Scene::kNone);
  EXPECT_EQ(SceneAt(INT32_MIN), Scene::kNone);
  EXPECT_EQ(SceneAt(0), Scene::kCredits);
  EXPECT_EQ(SceneAt(18999), Scene::kCredits);
  EXPECT_EQ(SceneAt(19000), Scene::kTunnel);
  EXPECT_EQ(SceneAt(46999), Scene::kTunnel);
  EXPECT_EQ(SceneAt(47000), Scene::kWireTorus);
  EXPECT_EQ(SceneAt(74999), Scene::kWireTorus);
  EXPECT_EQ(SceneAt(75000), Scene::kFlight);
  EXPECT_EQ(SceneAt(101999), Scene::kFlight);
  EXPECT_EQ(SceneAt(102000), Scene::kSecondTunnel);
  EXPECT_EQ(SceneAt(129999), Scene::kSecondTunnel);
  EXPECT_EQ(SceneAt(130000), Scene::kSolidTorus);
  EXPECT_EQ(SceneAt(157999), Scene::kSolidTorus);
  EXPECT_EQ(SceneAt(158000), Scene::kFarewell);
  EXPECT_EQ(SceneAt(185899), Scene::kFarewell);
  EXPECT_EQ(SceneAt(185900), Scene::kNone);
  EXPECT_EQ(SceneAt(INT32_MAX), Scene::kNone);
}

class TimelineTest : public testsupport::GLTest {
 protected:
  TimelineTest() : GLTest(32, 32) {}
  void At(int32_t t) {
    os_.SetTicks(demo_.timeline.TimelineStartTick + static_cast<uint32_t>(t));
    EXPECT_TRUE(DrawFrame(demo_));
  }
  HeadlessPlatform os_;
  Demo demo_{os_};
};

TEST_F(TimelineTest, ClearsColourAndDepthEveryFrame) {
  glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
  glClearDepth(0.25);
  for (int32_t t : {-5, 1000, 200000}) {  // paint red, which the clear must replace
    glBegin(GL_QUADS);
    glColor3f(1, 0, 0);
    glVertex2f(-1, -1), glVertex2f(1, -1), glVertex2f(1, 1), glVertex2f(-1, 1);
    glEnd();
    At(t);
    const auto pixels = ReadPixels();
    EXPECT_EQ(pixels[0], 0) << t;
    EXPECT_EQ(pixels[2], 255) << t;
    float depth = 0;
    glReadPixels(5, 5, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_NEAR(depth, 0.25f, 1e-3) << t;
  }
}

TEST_F(TimelineTest, SecondTunnelImageFrom102000OnAndNeverBack) {
  demo_.timeline.tunnelImage1 = 11;
  demo_.timeline.tunnelImage2 = 22;
  demo_.timeline.tunnelTextureSlot = 11;
  At(101999);
  EXPECT_EQ(demo_.timeline.tunnelTextureSlot, 11u);
  At(102000);
  EXPECT_EQ(demo_.timeline.tunnelTextureSlot, 22u);
  At(150000);
  At(50000);  // a clock that went back does not switch it back either
  EXPECT_EQ(demo_.timeline.tunnelTextureSlot, 22u);
}

TEST_F(TimelineTest, EscapeIsSetFrom185900) {
  demo_.timeline.TimelineStartTick = 0xFFFFF000u;  // the programme spans a counter wrap
  At(185899);
  EXPECT_FALSE(demo_.shell.KeyDown[VK_ESCAPE]);
  At(-100);
  EXPECT_FALSE(demo_.shell.KeyDown[VK_ESCAPE]);
  At(185900);
  EXPECT_TRUE(demo_.shell.KeyDown[VK_ESCAPE]);
}

TEST_F(TimelineTest, FrameEndsWithNoGlErrorInEveryWindow) {
  for (int32_t t : {0, 19000, 47000, 75000, 102000, 130000, 158000, 185900}) {
    At(t);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << t;
  }
}

}  // namespace
