// The timeline: scene windows, the frame's clear, the tunnel picture switch, the end
#include "director/Timeline.h"

#include <GL/gl.h>

#include "platform/HeadlessPlatform.h"
#include "support/GLTest.h"

using namespace platform;

namespace {

TEST(SceneAt, WindowsAreHalfOpen) {
  const std::pair<int32_t, Scene> cases[] = {{INT32_MIN, Scene::kNone},      {-1, Scene::kNone},
                                             {0, Scene::kCredits},           {18999, Scene::kCredits},
                                             {19000, Scene::kTunnel},        {46999, Scene::kTunnel},
                                             {47000, Scene::kWireTorus},     {74999, Scene::kWireTorus},
                                             {75000, Scene::kFlight},        {101999, Scene::kFlight},
                                             {102000, Scene::kSecondTunnel}, {129999, Scene::kSecondTunnel},
                                             {130000, Scene::kSolidTorus},   {157999, Scene::kSolidTorus},
                                             {158000, Scene::kFarewell},     {185899, Scene::kFarewell},
                                             {185900, Scene::kNone},         {INT32_MAX, Scene::kNone}};
  for (const auto& [t, scene] : cases) EXPECT_EQ(SceneAt(t), scene) << t;
}

class Timeline : public testsupport::GLTest {
 protected:
  Timeline() : GLTest(32, 32) {}
  void At(int32_t t) {
    os_.SetTicks(demo_.timeline.TimelineStartTick + static_cast<uint32_t>(t));
    EXPECT_TRUE(DrawFrame(demo_));
  }
  HeadlessPlatform os_;
  Demo demo_{os_};
};

TEST_F(Timeline, ClearsColourAndDepthEveryFrame) {
  glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
  glClearDepth(0.25);
  for (int32_t t : {-5, 1000, 200000}) {  // paint red, which the clear must replace
    glBegin(GL_QUADS);
    glColor3f(1, 0, 0);
    glVertex2f(-1, -1), glVertex2f(1, -1), glVertex2f(1, 1), glVertex2f(-1, 1);
    glEnd();
    At(t);
    const auto pixels = ReadPixels();
    EXPECT_EQ((std::vector<int>{pixels[0], pixels[2]}), (std::vector<int>{0, 255})) << t;
    float depth = 0;
    glReadPixels(5, 5, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_NEAR(depth, 0.25f, 1e-3) << t;
  }
}

// The second tunnel's picture from 102000 on, and not back when the clock goes back; Escape from 185900
// on, also when the programme spans a wrap of the tick counter.
TEST_F(Timeline, SwitchesThePictureAndEndsAtTheirTimes) {
  demo_.timeline.TimelineStartTick = 0xFFFFF000u;
  demo_.timeline.tunnelImage1 = demo_.timeline.tunnelTextureSlot = 11;
  demo_.timeline.tunnelImage2 = 22;
  const struct {
    int32_t t;
    unsigned slot;
    bool escape;
  } steps[] = {{-100, 11, false},  {101999, 11, false}, {102000, 22, false},
               {50000, 22, false}, {185899, 22, false}, {185900, 22, true}};
  for (const auto& step : steps) {
    At(step.t);
    EXPECT_EQ(demo_.timeline.tunnelTextureSlot, step.slot) << step.t;
    EXPECT_EQ(demo_.shell.KeyDown[VK_ESCAPE], step.escape) << step.t;
  }
}

}  // namespace
