// F1 again and again: each start-up begins at 0 with everything rebuilt, keeps what outlives a restart, and
// the process does not grow
#include <gtest/gtest.h>
#include <malloc.h>

#include <array>
#include <tuple>

#include "Pictures.h"
#include "director/Timeline.h"

using namespace platform;
using namespace e2e;

namespace {

// A programme time inside each scene's window, in the programme's order.
constexpr std::array<int32_t, 7> kSceneTimes = {6000, 20000, 48000, 76000, 103000, 131000, 159000};
constexpr int kStartUps = 13;

struct Kept {
  ScrollerState credits, farewell;
  float phase = 0.0f;
  bool direction = false;
  int jetLive = 0, cloudLive = 0;
};

Kept Take(const Demo& demo) {
  return {demo.scrollers.credits,
          demo.scrollers.farewell,
          demo.flight.phase,
          demo.flight.direction,
          demo.jet.Emitter() ? demo.jet.Emitter()->liveCount : -1,
          demo.cloud.Emitter() ? demo.cloud.Emitter()->liveCount : -1};
}

TEST(Restart, EveryF1StartsOverAtZeroWithEverythingRebuiltAndTheHeapStaysFlat) {
  testsupport::ScopedChdir cwd(CopyRunFolder());
  DemoRun run;
  // The first and the last start-up visit every scene, those between the credits and the tunnel with its
  // jet; F1 follows each but the last, which runs to the end.
  run.timeOf = [&run](uint64_t i) {
    const bool everyScene = run.restarts == 0 || run.restarts == kStartUps - 1;
    if (i == 0) return 0;
    if (!everyScene) return kSceneTimes[1];
    return i <= kSceneTimes.size() ? kSceneTimes[i - 1] : run.restarts == 0 ? kSceneTimes.back() : 185900;
  };
  Kept previous, before, after;
  std::vector<size_t> heap;
  std::vector<double> lastLit;
  int pressed = 0;  // F1 once per start-up: the next frame is still drawn at the same time
  run.afterPresent = [&](const PresentedFrame& f) {
    if (f.restart == 1 && f.t == 0) before = previous, after = Take(*run.demo);
    previous = Take(*run.demo);
    if (f.t == 0) {  // drawn, and the music plays again, alone
      EXPECT_GT(Measure(run.os.ReadPixels()).lit, 0.0) << f.restart;
      EXPECT_EQ(run.os.Sound().PlayingChannels(), 1) << f.restart;
      EXPECT_EQ(run.os.Sound().OpenStreams(), 1u) << f.restart;
    }
    if (f.t == kSceneTimes[1] && heap.size() == static_cast<size_t>(f.restart)) {
      const struct mallinfo2 info = mallinfo2();
      heap.push_back(info.uordblks + info.hblkhd);
    }
    if (f.restart == kStartUps - 1 && f.t > 0) lastLit.push_back(Measure(run.os.ReadPixels()).lit);
    const bool lastOfStartUp = f.restart == 0 ? f.t == kSceneTimes.back() : f.t == kSceneTimes[1];
    if (f.restart < kStartUps - 1 && lastOfStartUp && pressed == f.restart)
      run.os.QueueKeyDown(VK_F1), ++pressed;
  };
  EXPECT_EQ(run.Run(kWidth, kHeight), 0);
  EXPECT_EQ(run.restarts, kStartUps - 1);
  EXPECT_TRUE(run.BoxLines().empty()) << ::testing::PrintToString(run.BoxLines());
  // The state had something to lose; the scrollers and the flight go on where they were, the particle
  // systems are made again, empty.
  EXPECT_GT(before.jetLive, 0);
  EXPECT_GT(before.cloudLive, 0);
  EXPECT_GT(before.phase, 0.0f);
  EXPECT_GT(before.credits.frameCount, 0);
  EXPECT_GT(before.farewell.frameCount, 0);
  const auto carried = [](const Kept& k) {
    return std::make_tuple(k.credits.frameCount, k.credits.position, k.farewell.frameCount,
                           k.farewell.position, k.phase, k.direction);
  };
  EXPECT_EQ(carried(after), carried(before));
  EXPECT_EQ(std::make_pair(after.jetLive, after.cloudLive), std::make_pair(0, 0));
  // After all those restarts every scene still draws; those that fill the frame still do.
  ASSERT_EQ(lastLit.size(), kSceneTimes.size());
  for (size_t s = 0; s < lastLit.size(); ++s) {
    const Scene scene = SceneAt(kSceneTimes[s]);
    EXPECT_GT(lastLit[s], scene == Scene::kCredits || scene == Scene::kWireTorus || scene == Scene::kFarewell
                              ? 0.05
                              : 0.75)
        << s;
  }
  // The first two start-ups warm the libraries up; the ten after them must not add up.
  ASSERT_EQ(heap.size(), static_cast<size_t>(kStartUps));
  for (size_t i = 3; i < heap.size(); ++i) EXPECT_LT(heap[i], heap[2] + 256 * 1024) << "start-up " << i;
}

}  // namespace
