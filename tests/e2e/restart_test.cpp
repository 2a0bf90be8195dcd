// F1 again and again: each start-up begins at 0 with everything rebuilt, keeps what outlives a restart, and
// the process does not grow
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <array>
#include <tuple>

#include "Pictures.h"

using namespace platform;
using namespace e2e;

namespace {

// The start, then a programme time inside each scene's window, in the programme's order, and the least share
// of lit pixels each shows: the credits, the wireframe torus and the farewell leave much of the black.
constexpr std::array<int32_t, 8> kSceneTimes = {0, 6000, 20000, 48000, 76000, 103000, 131000, 159000};
constexpr std::array<double, 8> kLeastLit = {0.0, 0.05, 0.75, 0.05, 0.75, 0.75, 0.75, 0.05};
constexpr int kStartUps = 13;

struct Kept {
  ScrollerState credits, farewell;
  float phase = 0.0f;
  bool direction = false;
  int jetLive = 0, cloudLive = 0;
  bool showOctree = false, hideEmpty = false;
};

Kept Take(const Demo& d) {
  const auto live = [](const auto& system) { return system.Emitter() ? system.Emitter()->liveCount : -1; };
  return {d.scrollers.credits,
          d.scrollers.farewell,
          d.flight.phase,
          d.flight.direction,
          live(d.jet),
          live(d.cloud),
          d.terrain.flags.showOctree,
          d.octreeDisplay.HideEmptyOctreeNodes};
}

TEST(Restart, EveryF1StartsOverAtZeroWithEverythingRebuiltAndTheHeapStaysFlat) {
  testsupport::ScopedChdir cwd(CopyRunFolder());
  DemoRun run;
  // Every start-up visits every scene; F1 follows each but the last, which runs to the end.
  run.timeOf = [&run](uint64_t i) {
    return i < kSceneTimes.size()         ? kSceneTimes[i]
           : run.restarts < kStartUps - 1 ? kSceneTimes.back()
                                          : 185900;
  };
  Kept previous, before, after;
  std::vector<size_t> heap;
  int pressed = 0;  // F1 once per start-up: the next frame is still drawn at the same time
  run.afterPresent = [&](const PresentedFrame& f) {
    if (f.restart == 1 && f.t == 0) before = previous, after = Take(*run.demo);
    previous = Take(*run.demo);
    if (f.number == 1) {  // octree boxes on, empty nodes hidden
      for (uint32_t vk : {'P', 'R'}) run.os.QueueKeyDown(vk);
    }
    if (f.t == 0) {  // the music plays again, alone
      EXPECT_EQ(std::make_pair(run.os.Sound().PlayingChannels(), run.os.Sound().OpenStreams()),
                std::make_pair(1, size_t{1}))
          << f.restart;
    }
    // Every start-up draws every scene; those that fill the frame still do.
    const auto scene = std::find(kSceneTimes.begin(), kSceneTimes.end(), f.t) - kSceneTimes.begin();
    EXPECT_GT(Measure(run.os.ReadPixels()).lit, kLeastLit[std::min<size_t>(scene, 7)])
        << f.restart << " " << f.t;
    if (f.t == kSceneTimes[2] && heap.size() == static_cast<size_t>(f.restart)) {
      const struct mallinfo2 info = mallinfo2();
      heap.push_back(info.uordblks + info.hblkhd);
    }
    if (f.t == kSceneTimes.back() && f.restart < kStartUps - 1 && pressed == f.restart)
      run.os.QueueKeyDown(VK_F1), ++pressed;
  };
  EXPECT_EQ(run.Run(kWidth, kHeight), 0);
  EXPECT_EQ(run.restarts, kStartUps - 1);
  EXPECT_TRUE(run.BoxLines().empty()) << ::testing::PrintToString(run.BoxLines());
  // The state had something to lose; the scrollers, the flight and the key switches go on where they were,
  // the particle systems are made again, empty, and the new build shows empty nodes again.
  EXPECT_TRUE(before.jetLive > 0 && before.cloudLive > 0 && before.phase > 0.0f &&
              before.credits.frameCount > 0 && before.farewell.frameCount > 0 && before.hideEmpty);
  const auto carried = [](const Kept& k) {
    return std::make_tuple(k.credits.frameCount, k.credits.position, k.farewell.frameCount,
                           k.farewell.position, k.phase, k.direction, k.showOctree);
  };
  EXPECT_EQ(carried(after), carried(before));
  EXPECT_EQ(std::make_tuple(after.jetLive, after.cloudLive, after.showOctree, after.hideEmpty),
            std::make_tuple(0, 0, true, false));
  // The first two start-ups warm the libraries up; the ten after them must not add up.
  ASSERT_EQ(heap.size(), static_cast<size_t>(kStartUps));
  for (size_t i = 3; i < heap.size(); ++i) EXPECT_LT(heap[i], heap[2] + 256 * 1024) << "start-up " << i;
}

}  // namespace
