// F1 during the programme: a full restart at 0 that keeps what outlives a restart
#include <gtest/gtest.h>
#include <malloc.h>

#include <array>

#include "E2E.h"

using namespace platform;
using e2e::DemoRun;
using e2e::Frame;

namespace {

// A programme time inside each scene's window, in the programme's order.
constexpr std::array<int32_t, 7> kSceneTimes = {1000, 20000, 48000, 76000, 103000, 131000, 159000};

// What a test looks at around each restart.
struct Snapshot {
  ScrollerState credits, farewell;
  float phase = 0.0f;
  bool direction = false;
  int jetLive = 0, cloudLive = 0;
};

Snapshot Take(const Demo& demo) {
  Snapshot s;
  s.credits = demo.scrollers.credits;
  s.farewell = demo.scrollers.farewell;
  s.phase = demo.flight.phase;
  s.direction = demo.flight.direction;
  s.jetLive = demo.jet.Emitter() ? demo.jet.Emitter()->liveCount : -1;
  s.cloudLive = demo.cloud.Emitter() ? demo.cloud.Emitter()->liveCount : -1;
  return s;
}

TEST(Restart, F1InEverySceneStartsOverWithEverythingRebuilt) {
  const auto dir = e2e::CopyRunFolder();
  e2e::WorkingDirectory cwd(dir);
  DemoRun run;
  // Each start-up shows its first frame at 0, then three frames of the scene numbered by
  // the restarts so far; F1 follows. The eighth start-up runs on to the end.
  run.timeOf = [&run](uint64_t i) {
    if (i == 0) return 0;
    if (run.restarts >= static_cast<int>(kSceneTimes.size())) return i == 1 ? 185800 : 185900;
    return kSceneTimes[static_cast<size_t>(run.restarts)] + static_cast<int32_t>(i - 1) * e2e::kFrameMs;
  };
  std::vector<Snapshot> before, after;  // the last frame before F1, the first frame after it
  std::vector<Frame> sceneFrames;       // the frame of each visited scene when F1 was pressed
  Snapshot previous;
  run.afterPresent = [&](const Frame& f) {
    if (f.restart > static_cast<int>(after.size())) {
      before.push_back(previous);
      after.push_back(Take(*run.demo));
      EXPECT_EQ(f.t, 0);
      EXPECT_EQ(run.demo->timeline.tunnelTextureSlot, run.demo->timeline.tunnelImage1);
    }
    previous = Take(*run.demo);
    if (f.restart < static_cast<int>(kSceneTimes.size()) &&
        f.t == kSceneTimes[static_cast<size_t>(f.restart)] + 400) {
      sceneFrames.push_back(f);
      run.os.QueueKeyDown(VK_F1);  // taken before the next frame, acted on after it
    }
  };
  EXPECT_EQ(run.Run(), 0);
  EXPECT_EQ(run.restarts, 7);
  EXPECT_EQ(run.os.WindowsCreated(), 8);
  EXPECT_TRUE(run.BoxLines().empty()) << ::testing::PrintToString(run.BoxLines());
  ASSERT_EQ(before.size(), 7u);
  ASSERT_EQ(after.size(), 7u);
  ASSERT_EQ(sceneFrames.size(), 7u);

  for (size_t r = 0; r < 7; ++r) {
    SCOPED_TRACE(r);
    EXPECT_EQ(sceneFrames[r].scene, SceneAt(kSceneTimes[r]));
    // Every scene still draws after the restarts before it; those that fill the frame still do.
    const Scene scene = sceneFrames[r].scene;
    const bool fills = scene == Scene::kTunnel || scene == Scene::kFlight || scene == Scene::kSecondTunnel ||
                       scene == Scene::kSolidTorus;
    EXPECT_GT(sceneFrames[r].lit, fills ? 0.75 : 0.05);
    // The first frame after F1 is the credits at 0, drawn in the new context.
    // The scrollers go on where they were.
    EXPECT_GE(after[r].credits.frameCount, before[r].credits.frameCount);
    EXPECT_GE(after[r].credits.position, before[r].credits.position);
    EXPECT_EQ(after[r].farewell.frameCount, before[r].farewell.frameCount);
    EXPECT_EQ(after[r].farewell.position, before[r].farewell.position);
    // The flight keeps its phase and direction.
    EXPECT_EQ(after[r].phase, before[r].phase);
    EXPECT_EQ(after[r].direction, before[r].direction);
    // The particle systems are made again, empty.
    EXPECT_EQ(after[r].jetLive, 0);
    EXPECT_EQ(after[r].cloudLive, 0);
  }
  // The snapshots were taken where the state had something to lose.
  EXPECT_GT(before[1].jetLive, 0);
  EXPECT_GT(before[2].cloudLive, 0);
  EXPECT_GT(before[3].phase, 0.0f);
  EXPECT_GT(before[0].credits.frameCount + before[6].farewell.frameCount, 0);
  for (const Frame& f : run.frames) {
    if (f.t == 0) {
      EXPECT_GT(f.lit, 0.0) << "credits frame after restart " << f.restart;
    }
  }
  EXPECT_EQ(run.frames.back().t, 185800);
}

TEST(Restart, RenderAndOctreeSwitchesSurviveButEveryBuildShowsEmptyNodesAgain) {
  const auto dir = e2e::CopyRunFolder();
  e2e::WorkingDirectory cwd(dir);
  DemoRun run;
  // Each start-up: one credits frame, then the flight from 80 s on.
  run.timeOf = [](uint64_t i) { return i == 0 ? 0 : 80000 + static_cast<int32_t>(i - 1) * e2e::kFrameMs; };
  double whiteBefore = 0.0, whiteAfter = 0.0;
  bool hiddenBeforeRestart = false;
  run.afterPresent = [&](const Frame& f) {
    if (f.number == 2) {
      for (uint32_t vk : {'P', 'U', 'Y', 'R'}) run.os.QueueKeyDown(vk);
    }
    if (f.number == 5) {
      whiteBefore = f.white;
      hiddenBeforeRestart = run.demo->octreeDisplay.HideEmptyOctreeNodes;
      run.os.QueueKeyDown(VK_F1);
    }
    if (f.restart == 1 && f.t == 80600) {
      whiteAfter = f.white;
      run.os.QueueKeyDown(VK_ESCAPE);
    }
  };
  EXPECT_EQ(run.Run(), 0);
  EXPECT_EQ(run.restarts, 1);
  EXPECT_TRUE(hiddenBeforeRestart);
  const RenderFlags& flags = run.demo->terrain.flags;
  EXPECT_TRUE(flags.showOctree);
  EXPECT_TRUE(flags.solidFill);
  EXPECT_FALSE(flags.texturing);
  EXPECT_FALSE(flags.smoothShading);
  EXPECT_TRUE(run.demo->octreeDisplay.ShowOctreeBounds);
  EXPECT_FALSE(run.demo->octreeDisplay.HideEmptyOctreeNodes);
  // Here the boxes in view are those of empty nodes: hidden before the restart, shown
  // again after it, white over the landscape.
  EXPECT_LT(whiteBefore, 0.001);
  EXPECT_GT(whiteAfter, 0.005);
}

size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

TEST(Restart, TenRestartsInARowDoNotGrowTheProcess) {
  const auto dir = e2e::CopyRunFolder();
  e2e::WorkingDirectory cwd(dir);
  DemoRun run;
  // Two frames after each start-up: the credits at 0 and the tunnel with its jet.
  run.timeOf = e2e::Visit({0, 20000});
  std::vector<size_t> heap;
  run.afterPresent = [&](const Frame& f) {
    if (f.t != 20000) return;
    heap.push_back(HeapInUse());
    run.os.QueueKeyDown(heap.size() <= 12 ? VK_F1 : VK_ESCAPE);
  };
  EXPECT_EQ(run.Run(), 0);
  ASSERT_EQ(heap.size(), 13u);
  EXPECT_EQ(run.restarts, 12);
  for (size_t i = 0; i < heap.size(); ++i) std::printf("heap after start-up %zu: %zu\n", i, heap[i]);
  // The first two restarts warm the libraries up; the ten after them must not add up.
  const size_t warm = heap[2];
  for (size_t i = 3; i < heap.size(); ++i) {
    EXPECT_LT(heap[i], warm + 256 * 1024) << "start-up " << i;
  }
}

}  // namespace
