// Keys during the programme, each compared with the same frame of a run without them
#include <gtest/gtest.h>

#include <map>

#include "E2E.h"

using namespace platform;
using e2e::DemoRun;
using e2e::Frame;

namespace {

// One credits frame, then the flight from 80 s on, one frame each 200 ms.
int32_t FlightSchedule(uint64_t i) {
  return i == 0 ? 0 : 80000 + static_cast<int32_t>(i - 1) * e2e::kFrameMs;
}

constexpr uint64_t kLastFrame = 40;

class Keys : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new std::filesystem::path(e2e::CopyRunFolder());
    e2e::WorkingDirectory cwd(*dir_);
    baseline_ = new std::vector<Frame>(std::move(Play({})->frames));
  }
  static void TearDownTestSuite() {
    delete baseline_;
    delete dir_;
  }

  // Plays the flight with the given messages queued after the numbered frames; the
  // message of a frame is taken before the next one is drawn.
  struct Key {
    uint32_t vk;
    bool up = false;
    bool alt = false;
  };
  static std::unique_ptr<DemoRun> Play(const std::multimap<uint64_t, Key>& script) {
    auto owned = std::make_unique<DemoRun>();
    DemoRun& run = *owned;
    run.keepPixels = true;
    run.timeOf = FlightSchedule;
    run.afterPresent = [&](const Frame& f) {
      const auto [from, to] = script.equal_range(f.number);
      for (auto it = from; it != to; ++it) {
        if (it->second.up) {
          run.os.QueueKeyUp(it->second.vk, it->second.alt);
        } else {
          run.os.QueueKeyDown(it->second.vk, it->second.alt);
        }
      }
      if (f.number == kLastFrame) run.os.QueueKeyDown(VK_ESCAPE);
    };
    EXPECT_EQ(run.Run(), 0);
    EXPECT_EQ(run.frames.size(), kLastFrame);  // Escape: the next frame is drawn, not shown
    return owned;
  }

  std::unique_ptr<DemoRun> PlayHere(const std::multimap<uint64_t, Key>& script) {
    e2e::WorkingDirectory cwd(*dir_);
    return Play(script);
  }
  static const Frame& Base(uint64_t number) { return (*baseline_)[number - 1]; }

  static std::filesystem::path* dir_;
  static std::vector<Frame>* baseline_;
};

std::filesystem::path* Keys::dir_ = nullptr;
std::vector<Frame>* Keys::baseline_ = nullptr;

TEST_F(Keys, BaselineIsTheLandscapeSeenFromTheFlight) {
  for (uint64_t n = 2; n <= kLastFrame; ++n) {
    EXPECT_EQ(Base(n).scene, Scene::kFlight);
    EXPECT_GT(Base(n).lit, 0.75) << n;  // sky and terrain fill the frame
  }
}

TEST_F(Keys, RenderTogglesChangeTheFrameUntilPressedAgain) {
  // A key-down after frame n acts after frame n + 1: frame n + 2 shows it.
  const auto played = PlayHere({{3, {'P'}},
                                {4, {'P', true}},
                                {7, {'P'}},  // octree boxes on for frames 5-8
                                {11, {'I'}},
                                {15, {'I'}},  // wireframe for frames 13-16
                                {19, {'U'}},
                                {23, {'U'}},  // untextured for frames 21-24
                                {27, {'Y'}},
                                {31, {'Y'}}});  // flat shading for frames 29-32
  DemoRun& run = *played;
  const auto& frames = run.frames;
  auto changed = [&](uint64_t n) { return e2e::Difference(frames[n - 1].pixels, Base(n).pixels); };
  auto same = [&](uint64_t n) { return frames[n - 1].pixels == Base(n).pixels; };
  for (uint64_t n : {2, 3, 4, 9, 10, 11, 12, 17, 18, 19, 20, 25, 26, 27, 28, 33, 34, 40}) {
    EXPECT_TRUE(same(n)) << "frame " << n << " should match the run without keys";
  }
  for (uint64_t n = 5; n <= 8; ++n) {
    // The boxes are white lines over the landscape.
    EXPECT_GT(frames[n - 1].white, Base(n).white + 0.01) << n;
    EXPECT_GT(changed(n), 0.02) << n;
  }
  for (uint64_t n = 13; n <= 16; ++n) EXPECT_GT(changed(n), 0.05) << n;
  for (uint64_t n = 21; n <= 24; ++n) {
    // Without the texture only the baked shades are left: grey, where the texture was coloured.
    EXPECT_GT(changed(n), 0.05) << n;
    EXPECT_GT(frames[n - 1].grey, Base(n).grey + 0.05) << n;
  }
  for (uint64_t n = 29; n <= 32; ++n) EXPECT_GT(changed(n), 0.0) << n;
  EXPECT_EQ(run.demo->terrain.flags.showOctree, false);
  EXPECT_EQ(run.demo->octreeDisplay.ShowOctreeBounds, false);
}

TEST_F(Keys, HeldToggleFlipsAgainAtEachRepeat) {
  // Auto-repeat: more key-downs without a key-up, every second frame.
  const auto played = PlayHere({{3, {'U'}}, {5, {'U'}}, {7, {'U'}}, {8, {'U', true}}});
  DemoRun& run = *played;
  std::vector<bool> untextured;
  for (uint64_t n = 4; n <= 11; ++n) untextured.push_back(run.frames[n - 1].pixels != Base(n).pixels);
  // Frames 5 and 6 untextured, 7 and 8 textured again, 9 onwards untextured.
  EXPECT_EQ(untextured, (std::vector<bool>{false, true, true, false, false, true, true, true}));
}

TEST_F(Keys, TurningKeysTurnTheFlightViewWhileHeld) {
  const auto played = PlayHere({{3, {VK_LEFT}}, {8, {VK_LEFT, true}}});
  DemoRun& run = *played;
  for (uint64_t n = 2; n <= 4; ++n) EXPECT_EQ(run.frames[n - 1].pixels, Base(n).pixels) << n;
  // Held for five passes: the view stays turned by 15 degrees from then on.
  for (uint64_t n = 5; n <= kLastFrame; ++n)
    EXPECT_GT(e2e::Difference(run.frames[n - 1].pixels, Base(n).pixels), 0.1) << n;
}

TEST_F(Keys, MovingKeysActOnEveryPassInEveryScene) {
  // During the credits the camera is not drawn, but it moves: W by the tunnel's speed
  // (2.7 before the tunnel first ran), D by 1 to the side.
  e2e::WorkingDirectory cwd(*dir_);
  DemoRun run;
  run.timeOf = [](uint64_t i) { return static_cast<int32_t>(i) * 100; };
  Vector3 before, after;
  Camera expected;
  run.afterPresent = [&](const Frame& f) {
    if (f.number == 1) {
      before = run.demo->camera.position;
      expected = run.demo->camera;
      run.os.QueueKeyDown('W');
      run.os.QueueKeyDown('D');
    }
    if (f.number == 5) {
      run.os.QueueKeyUp('W');
      run.os.QueueKeyUp('D');
    }
    if (f.number == 8) {
      after = run.demo->camera.position;
      run.os.QueueKeyDown(VK_ESCAPE);
    }
  };
  EXPECT_EQ(run.Run(), 0);
  EXPECT_EQ(run.frames[1].scene, Scene::kCredits);
  // Passes after frames 2 to 5: four steps of each key.
  for (int i = 0; i < 4; ++i) {
    expected.MoveSideways(1.0f), expected.Update();
    expected.MoveForward(2.7f), expected.Update();
  }
  EXPECT_NEAR(after.x, expected.position.x, 1e-3);
  EXPECT_NEAR(after.y, expected.position.y, 1e-3);
  EXPECT_NEAR(after.z, expected.position.z, 1e-3);
  const double moved =
      std::abs(after.x - before.x) + std::abs(after.y - before.y) + std::abs(after.z - before.z);
  EXPECT_GT(moved, 10.0);
}

TEST_F(Keys, AltCombinationsF10AndTheEasterEggLeaveThePictureAlone) {
  const auto played = PlayHere({{3, {'P', false, true}},
                                {3, {'I', false, true}},
                                {4, {'U', false, true}},
                                {5, {VK_F10}},
                                {6, {VK_LEFT, false, true}},
                                {9, {'M'}}});
  DemoRun& run = *played;
  for (uint64_t n = 1; n <= kLastFrame; ++n) {
    EXPECT_EQ(run.frames[n - 1].pixels, Base(n).pixels) << "frame " << n;
  }
  ASSERT_EQ(run.BoxLines(),
            (std::vector<std::string>{"Hey, you found an easter egg / easter egg / no owner"}));
  EXPECT_EQ(run.os.MessageBoxes()[0].flags, 0u);
}

}  // namespace
