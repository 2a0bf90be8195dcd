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

// What a start-up leaves the next: the scrollers' frame counts and positions, the flight's phase and
// direction, the octree switch, whether empty nodes are hidden, and the live particles of the jet and of the
// cloud.
auto Take(const Demo& d) {
  const auto live = [](const auto& system) { return system.Emitter() ? system.Emitter()->liveCount : -1; };
  return std::make_tuple(d.scrollers.credits.frameCount, d.scrollers.credits.position,
                         d.scrollers.farewell.frameCount, d.scrollers.farewell.position, d.flight.phase,
                         d.flight.direction, d.terrain.flags.showOctree, d.octreeDisplay.HideEmptyOctreeNodes,
                         live(d.jet), live(d.cloud));
}

TEST(Restart, EveryF1StartsOverAtZeroWithEverythingRebuiltAndTheHeapStaysFlat) {
  testsupport::ScopedChdir cwd(CopyRunFolder());
  DemoRun run;
  // Every start-up visits every scene; F1 follows each but the last, which runs to the end.
  run.timeOf = [&run](uint64_t i) {
    const int32_t last = run.restarts < kStartUps - 1 ? kSceneTimes.back() : 185900;
    return i < kSceneTimes.size() ? kSceneTimes[i] : last;
  };
  decltype(Take(*run.demo)) previous, before, after;
  std::vector<size_t> heap;
  int pressed = 0;  // F1 once per start-up: the next frame is still drawn at the same time
  run.afterPresent = [&](const PresentedFrame& f) {
    if (f.restart == 1 && f.t == 0) before = previous, after = Take(*run.demo);
    previous = Take(*run.demo);
    if (f.number == 1) {  // octree boxes on, empty nodes hidden
      for (uint32_t vk : {'P', 'R'}) run.os.QueueKeyDown(vk);
    }
    if (f.t == 0) {  // the music plays again, alone
      EXPECT_EQ(run.os.Sound().PlayingChannels(), 1) << f.restart;
      EXPECT_EQ(run.os.Sound().OpenStreams(), 1u) << f.restart;
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
  // The state had something to lose; the scrollers, the flight and the octree switch go on where they were,
  // the new build shows empty nodes again, and the particle systems are made again, empty.
  const auto [credits, creditsAt, farewell, farewellAt, phase, direction, octree, hideEmpty, jet, cloud] =
      before;
  EXPECT_TRUE(credits > 0 && farewell > 0 && phase > 0.0f && octree && hideEmpty && jet > 0 && cloud > 0);
  EXPECT_EQ(after,
            std::make_tuple(credits, creditsAt, farewell, farewellAt, phase, direction, true, false, 0, 0));
  // The first two start-ups warm the libraries up; the ten after them must not add up.
  ASSERT_EQ(heap.size(), static_cast<size_t>(kStartUps));
  for (size_t i = 3; i < heap.size(); ++i) EXPECT_LT(heap[i], heap[2] + 256 * 1024) << "start-up " << i;
}

}  // namespace
