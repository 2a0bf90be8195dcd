// The timeline: scene windows, the frame's clear, the tunnel picture switch, the end
#include "director/Timeline.h"

#include <GL/gl.h>

#include "platform/HeadlessPlatform.h"
#include "support/GLTest.h"

using namespace platform;

namespace {

// Each scene, in the programme's order from kCredits, runs from its start up to the next one's.
TEST(SceneAt, WindowsAreHalfOpen) {
  const int32_t starts[] = {0, 19000, 47000, 75000, 102000, 130000, 158000, 185900};  // the last: the end
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(SceneAt(starts[i] - 1), static_cast<Scene>(i)) << starts[i];
    EXPECT_EQ(SceneAt(starts[i]), static_cast<Scene>((i + 1) % 8)) << starts[i];
  }
}

class Timeline : public testsupport::GLTest {
 protected:
  void At(int32_t t) {
    os_.SetTicks(demo_.timeline.TimelineStartTick + static_cast<uint32_t>(t));
    EXPECT_TRUE(DrawFrame(demo_));
  }
  HeadlessPlatform os_;
  Demo demo_{os_};
};

TEST_F(Timeline, ClearsColourAndDepthEveryFrame) {
  glClearDepth(0.25);
  for (int32_t t : {-5, 1000, 200000}) {  // red, which the frame's clear in blue must replace
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
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
  const std::tuple<int32_t, unsigned, bool> steps[] = {{-100, 11, false},   {101999, 11, false},
                                                       {102000, 22, false}, {50000, 22, false},
                                                       {185899, 22, false}, {185900, 22, true}};
  for (const auto& [t, slot, escape] : steps) {
    At(t);
    EXPECT_EQ(demo_.timeline.tunnelTextureSlot, slot) << t;
    EXPECT_EQ(demo_.shell.KeyDown[VK_ESCAPE], escape) << t;
  }
}

}  // namespace
