// The main loop on the headless backend: frames, presenting, minimising, closing, Escape and F1
#include <gtest/gtest.h>

#include <filesystem>

#include "director/Timeline.h"
#include "shell/Harness.h"
#include "support/GLTest.h"
#include "support/Mp3Writer.h"

using namespace platform;

namespace {

TEST(MainLoop, LastFramePresentedIsTheOneBeforeTheEnd) {
  Harness h;
  const int32_t times[] = {0, 18999, 19000, 101999, 102000, 185899, 185900, 190000};
  h.timeOf = [&](uint64_t k) { return times[std::min<uint64_t>(k, 7)]; };
  std::vector<int32_t> presented;
  h.afterPresent = [&](uint64_t) {
    presented.push_back(static_cast<int32_t>(h.os.Ticks() - h.demo.timeline.TimelineStartTick));
  };
  EXPECT_EQ(h.Run(), 0);
  EXPECT_EQ(presented, (std::vector<int32_t>{0, 18999, 19000, 101999, 102000, 185899}));
}

TEST(MainLoop, ClockWrapDoesNotEndOrStallTheProgramme) {
  HeadlessOptions options;
  options.startTicks = 0xFFFFFF00u;  // the tick counter wraps during the first frames
  Harness h(options);
  h.timeOf = [](uint64_t k) { return static_cast<int32_t>(k * 5000); };
  EXPECT_EQ(h.Run(), 0);
  EXPECT_EQ(h.os.FramesPresented(), 38u);  // 0, 5000, ..., 185000
}

TEST(MainLoop, MinimisedDrawsNothingButSwapsAndHonoursEscape) {
  Harness h;
  h.timeOf = [](uint64_t k) { return static_cast<int32_t>(k == 0 ? 0 : 200000); };
  h.afterPresent = [&](uint64_t k) {
    if (k == 1) h.os.QueueMessage(WM_ACTIVATE, WA_INACTIVE | (1u << 16));  // minimised
    if (k == 5) h.os.QueueKeyDown(VK_ESCAPE);
  };
  EXPECT_EQ(h.Run(), 0);
  // Past the programme's end, but with no frame drawn nothing ended it: the passes
  // went on swapping until Escape.
  EXPECT_EQ(h.os.FramesPresented(), 5u);
  EXPECT_FALSE(h.demo.shell.AppActive);
}

TEST(MainLoop, RestoredWindowContinuesAtTheCurrentTime) {
  Harness h;
  h.timeOf = [](uint64_t k) { return static_cast<int32_t>(k == 0 ? 0 : 200000); };
  h.afterPresent = [&](uint64_t k) {
    if (k == 1) h.os.QueueMessage(WM_ACTIVATE, WA_INACTIVE | (1u << 16));
    if (k == 3) h.os.QueueMessage(WM_ACTIVATE, WA_INACTIVE);  // focus lost, not minimised: draws again
  };
  EXPECT_EQ(h.Run(), 0);
  EXPECT_EQ(h.os.FramesPresented(), 3u);  // the first drawn frame after restoring ends it
  EXPECT_TRUE(h.demo.shell.AppActive);
}

TEST(MainLoop, CloseEndsBeforeAnotherFrameWithExitCodeZero) {
  Harness h;
  h.afterPresent = [&](uint64_t k) {
    if (k == 3) {
      h.os.QueueClose();
      h.os.QueueKeyDown('A');  // taken before the quit message
    }
  };
  EXPECT_EQ(h.Run(), 0);
  EXPECT_EQ(h.os.FramesPresented(), 3u);
  EXPECT_TRUE(h.demo.shell.KeyDown['A']);
  EXPECT_FALSE(h.os.HasWindow());
}

TEST(MainLoop, EscapeEndsWithZeroNotTheKeyCode) {
  Harness h;
  h.afterPresent = [&](uint64_t k) {
    if (k == 2) h.os.QueueKeyDown(VK_ESCAPE);
  };
  EXPECT_EQ(h.Run(), 0);
  EXPECT_EQ(h.os.FramesPresented(), 2u);
}

TEST(MainLoop, SystemKeysNeverReachTheKeyFlags) {
  Harness h;
  h.afterPresent = [&](uint64_t k) {
    if (k == 1) {
      h.os.QueueKeyDown('P', true);
      h.os.QueueKeyDown(VK_F10);
      h.os.QueueKeyDown(VK_MENU, true);
      h.os.QueueMessage(WM_KEYDOWN, 0x1234);  // out of range: ignored, no crash
      h.os.QueueKeyDown('W');
    }
    if (k == 2) {
      EXPECT_FALSE(h.demo.shell.KeyDown['P']);
      EXPECT_FALSE(h.demo.shell.KeyDown[VK_F10]);
      EXPECT_FALSE(h.demo.shell.KeyDown[VK_MENU]);
      EXPECT_TRUE(h.demo.shell.KeyDown['W']);
      h.os.QueueKeyDown(VK_F4, true);  // Alt+F4 closes the window, as on Windows
    }
  };
  EXPECT_EQ(h.Run(), 0);
  EXPECT_EQ(h.os.FramesPresented(), 2u);
}

TEST(MainLoop, EasterEggBoxHasNoOwnerAndActsOncePerKeyDown) {
  Harness h;
  h.afterPresent = [&](uint64_t k) {
    if (k == 1 || k == 2) h.os.QueueKeyDown('M');  // a held key repeats its key-down
    if (k == 4) h.os.QueueKeyDown(VK_ESCAPE);
  };
  EXPECT_EQ(h.Run(), 0);
  ASSERT_EQ(h.ShellBoxes().size(), 2u);
  EXPECT_EQ(h.ShellBoxes()[0].text, "Hey, you found an easter egg");
  EXPECT_EQ(h.ShellBoxes()[0].caption, "easter egg");
  EXPECT_EQ(h.ShellBoxes()[0].flags, 0u);
  EXPECT_EQ(h.ShellBoxes()[0].owner, 0u);
  EXPECT_FALSE(h.demo.shell.KeyDown['M']);
}

TEST(MainLoop, F1RecreatesAt800x600x16WithTheModeInvertedAndRestartsAtZero) {
  Harness h;
  h.os.OfferDisplayModes({{1024, 768, 32}});  // no 800 x 600 x 16 mode on this "screen"
  std::vector<uint32_t> starts;
  h.afterPresent = [&](uint64_t k) {
    starts.push_back(h.demo.timeline.TimelineStartTick);
    if (k == 2 || k == 5) h.os.QueueKeyDown(VK_F1);  // acts after the next frame is presented
    if (k == 4) {
      EXPECT_EQ(h.os.Style(), WindowStyle::kFramed);  // full screen became windowed
      EXPECT_EQ(h.os.WindowWidth(), 800);
      EXPECT_EQ(h.os.WindowHeight(), 600);
      EXPECT_EQ(h.os.ContextColorBits(), 16);
      EXPECT_FALSE(h.os.DisplayModeChanged());
    }
    if (k == 7) h.os.QueueKeyDown(VK_ESCAPE);
  };
  EXPECT_EQ(h.Run(), 0);
  EXPECT_EQ(h.os.WindowsCreated(), 3);
  EXPECT_TRUE(h.Called("CreateWindow Brumlys' Landscape 800x600x16 framed"));
  // Windowed became full screen again: the 16-bit mode was asked for, refused,
  // and the question answered Yes.
  EXPECT_TRUE(h.Called("ChangeDisplayMode 800x600x16"));
  ASSERT_EQ(h.ShellBoxes().size(), 1u);
  EXPECT_EQ(h.ShellBoxes()[0].caption, "Landscape");
  // Each restart takes the clock anew at the moment of the restart, right after the
  // frame at 200 ms: the programme begins again at 0.
  ASSERT_EQ(starts.size(), 7u);
  EXPECT_EQ(starts[2], starts[0]);
  EXPECT_EQ(starts[3], starts[2] + 200);
  EXPECT_EQ(starts[5], starts[3]);
  EXPECT_EQ(starts[6], starts[5] + 500);
  EXPECT_FALSE(h.demo.shell.KeyDown[VK_F1]);
}

TEST(MainLoop, FailedF1RecreationEndsWithZeroAndTearsDownOnce) {
  Harness h;
  h.afterPresent = [&](uint64_t k) {
    if (k == 1) {
      h.os.QueueKeyDown(VK_F1);
      h.os.Fail(Step::kCreateWindow);
    }
  };
  EXPECT_EQ(h.Run(), 0);
  ASSERT_EQ(h.ShellBoxes().size(), 1u);
  EXPECT_EQ(h.ShellBoxes()[0].text, "Window Creation Error.");
  const auto& calls = h.os.Calls();
  // One teardown for F1, one inside the failed creation, none after the loop.
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "UnregisterWindowClass"), 2);
  EXPECT_EQ(h.os.FramesPresented(), 2u);
}

class MusicRun : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    const auto dir = testsupport::ScratchDir();
    testsupport::WriteFile(dir / "data" / "demosong.mp3", testsupport::MakeSineMp3(440.0, 2.0));
    std::filesystem::current_path(dir);
  }
  void TearDown() override { std::filesystem::current_path(previous_); }
  std::filesystem::path previous_;
};

TEST_F(MusicRun, MusicReachesTheOutputAndOneStreamPlaysAfterEachRestart) {
  HeadlessOptions options;
  options.audio = AudioOutput::kMemory;
  Harness h(options);
  h.timeOf = [](uint64_t k) { return static_cast<int32_t>(k * 20); };
  auto& sink = static_cast<MemorySink&>(h.os.AudioSink());
  bool soundOpenAfterWindow = false;
  h.afterPresent = [&](uint64_t k) {
    if (k == 10) {
      EXPECT_GT(sink.NonSilentFrames(), 5000u);  // 200 ms of the tone, less the start-up gap
      EXPECT_EQ(h.os.Sound().PlayingChannels(), 1);
      h.os.QueueKeyDown(VK_F1);
    }
    if (k == 11 || k == 12) h.os.QueueKeyDown(VK_F1);
    if (k == 13) {
      EXPECT_EQ(h.os.Sound().PlayingChannels(), 1);
      EXPECT_EQ(h.os.Sound().OpenStreams(), 1u);
      h.os.QueueKeyDown(VK_ESCAPE);
    }
  };
  EXPECT_EQ(h.Run(), 0);
  // The window is gone, the music still plays: it stops with the demo object.
  soundOpenAfterWindow = h.os.Sound().IsInitialised() && !h.os.HasWindow();
  EXPECT_TRUE(soundOpenAfterWindow);
  EXPECT_EQ(h.os.Sound().PlayingChannels(), 1);
}

TEST(MainLoop, MissingMusicLeavesTheProgrammeRunningSilent) {
  Harness h;  // the test's working directory holds no data folder
  h.timeOf = [](uint64_t k) { return static_cast<int32_t>(k * 10000); };
  EXPECT_EQ(h.Run(), 0);
  EXPECT_EQ(h.os.FramesPresented(), 19u);
  EXPECT_FALSE(h.demo.music.HasStream());
  EXPECT_TRUE(h.os.Sound().IsInitialised());
  EXPECT_EQ(static_cast<NullSink&>(h.os.AudioSink()).NonSilentFrames(), 0u);
}

}  // namespace
