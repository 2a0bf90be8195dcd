// Keys in the flight scene, each frame compared with the same frame of a run without them
#include <gtest/gtest.h>

#include "Pictures.h"
#include "director/Timeline.h"

using namespace platform;
using namespace e2e;

namespace {

struct Press {
  uint64_t after;  // queued after this presented frame: the pass after the next frame acts on it
  uint32_t vk;
  bool alt = false;
  bool up = false;
};

// One credits frame, then the flight from 80 s on, one frame each 200 ms, after every start-up.
std::unique_ptr<DemoRun> PlayFlight(const std::vector<Press>& script, uint64_t lastFrame = 40) {
  auto run = std::make_unique<DemoRun>();
  run->keepPixels = true;
  run->timeOf = [](uint64_t i) { return i == 0 ? 0 : 80000 + static_cast<int32_t>(i - 1) * 200; };
  run->afterPresent = [&script, lastFrame, r = run.get()](const PresentedFrame& f) {
    for (const Press& p : script) {
      if (p.after != f.number) continue;
      p.up ? r->os.QueueKeyUp(p.vk, p.alt) : r->os.QueueKeyDown(p.vk, p.alt);
    }
    if (f.number == lastFrame) r->os.QueueKeyDown(VK_ESCAPE);
  };
  EXPECT_EQ(run->Run(kWidth, kHeight), 0);
  EXPECT_EQ(run->frames.size(), lastFrame);  // Escape: the next frame is drawn, not shown
  return run;
}

TEST(Keys, TogglesChangeTheFlightUntilPressedAgainTurnsTurnItAndSystemKeysDoNothing) {
  testsupport::ScopedChdir cwd(CopyRunFolder());
  const auto base = PlayFlight({});
  const auto run = PlayFlight({{3, 'P', true},
                               {3, 'I', true},
                               {4, 'U', true},
                               {5, VK_F10},
                               {6, VK_LEFT, true},
                               {7, 'M'},
                               {11, 'P'},  // octree boxes on frames 13-16
                               {15, 'P'},
                               {17, 'I'},  // wireframe on frames 19-22
                               {21, 'I'},
                               {23, 'U'},  // untextured on frames 25-28
                               {27, 'U'},
                               {29, 'Y'},  // flat shading on frames 31-34
                               {33, 'Y'},
                               {35, VK_LEFT},  // one turn after frame 36
                               {36, VK_LEFT, false, true}});
  for (uint64_t n = 2; n <= 40; ++n) {
    SCOPED_TRACE(n);
    const auto &now = run->frames[n - 1].pixels, &then = base->frames[n - 1].pixels;
    ASSERT_EQ(SceneAt(run->frames[n - 1].t), Scene::kFlight);
    const Figures a = Measure(now), b = Measure(then);
    if (n >= 37) {
      EXPECT_GT(Difference(now, then), 0.1);
    } else if (n >= 13 && (n - 13) % 6 < 4) {
      EXPECT_GT(Difference(now, then), n >= 31 ? 0.0 : 0.02);
      if (n <= 16) {
        EXPECT_GT(a.white, b.white + 0.01);  // the boxes are white lines over the landscape
      } else if (n >= 25 && n <= 28) {
        EXPECT_GT(a.grey, b.grey + 0.05);  // the baked shades alone are grey
      }
    } else {
      EXPECT_EQ(now, then);
    }
  }
  EXPECT_EQ(run->BoxLines(),
            std::vector<std::string>{"Hey, you found an easter egg / easter egg / 0 / no owner"});
}

TEST(Keys, SwitchesSurviveF1ButEveryBuildShowsEmptyNodesAgain) {
  testsupport::ScopedChdir cwd(CopyRunFolder());
  // P, U, Y and R after frame 2; F1 acts after frame 6; frame 7 is the credits at 0, 11 the flight at 80600.
  const auto run = PlayFlight({{2, 'P'}, {2, 'U'}, {2, 'Y'}, {2, 'R'}, {5, VK_F1}}, 11);
  EXPECT_EQ(run->restarts, 1);
  const RenderFlags& flags = run->demo->terrain.flags;
  EXPECT_TRUE(flags.showOctree && flags.solidFill && !flags.texturing && !flags.smoothShading);
  EXPECT_TRUE(run->demo->octreeDisplay.ShowOctreeBounds);
  EXPECT_FALSE(run->demo->octreeDisplay.HideEmptyOctreeNodes);
  // Here the boxes in view are those of empty nodes: hidden before the restart, white after it.
  ASSERT_EQ(run->frames[4].t, 80600);
  EXPECT_LT(Measure(run->frames[4].pixels).white, 0.001);
  ASSERT_EQ(run->frames[10].t, 80600);
  EXPECT_GT(Measure(run->frames[10].pixels).white, 0.005);
}

}  // namespace
