// Keys in the flight scene, each frame compared with the same frame of a run without them
#include <gtest/gtest.h>

#include <tuple>

#include "Pictures.h"

using namespace platform;
using namespace e2e;

namespace {

// A key queued after a presented frame (the pass after the next frame acts on it), and whether Alt is down.
using Press = std::tuple<uint64_t, uint32_t, bool>;

// One credits frame, then the flight from 80 s on, one frame each 200 ms; Escape after frame 40.
std::unique_ptr<DemoRun> PlayFlight(const std::vector<Press>& script) {
  auto run = std::make_unique<DemoRun>();
  run->keepPixels = true;
  run->timeOf = [](uint64_t i) { return i == 0 ? 0 : 80000 + static_cast<int32_t>(i - 1) * 200; };
  run->afterPresent = [&script, r = run.get()](const PresentedFrame& f) {
    for (const auto& [after, vk, alt] : script)
      if (after == f.number) r->os.QueueKeyDown(vk, alt);
    if (f.number == 40) r->os.QueueKeyDown(VK_ESCAPE);
  };
  EXPECT_EQ(run->Run(kWidth, kHeight), 0);
  EXPECT_EQ(run->frames.size(), 40u);  // Escape: the next frame is drawn, not shown
  return run;
}

TEST(Keys, TogglesChangeTheFlightUntilPressedAgainTurnsTurnItAndSystemKeysDoNothing) {
  testsupport::ScopedChdir cwd(CopyRunFolder());
  const auto base = PlayFlight({});
  // System keys and the easter egg first, a turn at the end.
  std::vector<Press> script = {{3, 'P', true},     {3, 'I', true},  {4, 'U', true},      {5, VK_F10, false},
                               {6, VK_LEFT, true}, {7, 'M', false}, {35, VK_LEFT, false}};
  // Each toggle on for four frames: octree boxes on 13-16, wireframe on 19-22, untextured on 25-28, flat
  // shading on 31-34; turning from frame 37 on.
  const uint32_t toggles[] = {'P', 'I', 'U', 'Y'};
  for (uint64_t k = 0; k < 4; ++k) {
    for (uint64_t after : {11 + 6 * k, 15 + 6 * k}) script.push_back({after, toggles[k], false});
  }
  const auto run = PlayFlight(script);
  for (uint64_t n = 2; n <= 40; ++n) {
    SCOPED_TRACE(n);
    const auto &now = run->frames[n - 1].pixels, &then = base->frames[n - 1].pixels;
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

}  // namespace
