// The main loop on the headless backend: minimising, closing and F1
#include <gtest/gtest.h>

#include "Shell.h"

using namespace platform;
using testsupport::DemoRun;
using testsupport::PresentedFrame;
using namespace shelltest;

namespace {

// The loop never reads the clock: the timeline suite shows a programme across a wrap of the tick counter.

// Minimised, a pass draws nothing, so even a clock past the end ends nothing, but it still swaps; a focus
// change that is not a minimise makes it draw again, and end here.
TEST(MainLoop, MinimisedDrawsNothingUntilRestored) {
  DemoRun run;
  run.timeOf = testsupport::Visit({0, 200000});
  run.afterPresent = [&](const PresentedFrame& f) {
    if (f.number == 1) run.os.QueueMessage(WM_ACTIVATE, WA_INACTIVE | (1u << 16));
    if (f.number == 3) run.os.QueueMessage(WM_ACTIVATE, WA_INACTIVE);
  };
  EXPECT_EQ(run.Run(), 0);
  EXPECT_EQ(run.os.FramesPresented(), 3u);
  EXPECT_TRUE(run.demo->shell.AppActive);
}

TEST(MainLoop, CloseAndAltF4EndBeforeAnotherFrameWithZero) {
  for (bool altF4 : {false, true}) {
    SCOPED_TRACE(altF4);
    DemoRun run;
    run.afterPresent = [&](const PresentedFrame& f) {
      if (f.number != 3) return;
      altF4 ? run.os.QueueKeyDown(VK_F4, true) : run.os.QueueClose();
      run.os.QueueKeyDown('A');  // taken before the quit message
    };
    EXPECT_EQ(run.Run(), 0);
    EXPECT_EQ(run.os.FramesPresented(), 3u);
    EXPECT_TRUE(run.demo->shell.KeyDown['A']);
  }
}

TEST(MainLoop, F1RecreatesAt800x600x16WithTheModeInverted) {
  DemoRun run;
  run.os.OfferDisplayModes({{1024, 768, 32}});  // no 800 x 600 x 16 mode on this "screen"
  run.afterPresent = [&](const PresentedFrame& f) {
    if (f.number == 2 || f.number == 5) run.os.QueueKeyDown(VK_F1);  // acts after the next frame
    if (f.number == 4) {  // full screen became windowed, on a 16-bit context
      EXPECT_EQ(run.os.ContextColorBits(), 16);
      EXPECT_FALSE(run.os.DisplayModeChanged());
    }
    if (f.number == 7) run.os.QueueKeyDown(VK_ESCAPE);
  };
  EXPECT_EQ(run.Run(), 0);
  EXPECT_EQ(run.os.WindowsCreated(), 3);
  EXPECT_LT(CallIndex(run, "CreateWindow Brumlys' Landscape 800x600x16 framed"), run.os.Calls().size());
  // Windowed became full screen again: the 16-bit mode was asked for, refused, and the question answered Yes.
  EXPECT_LT(CallIndex(run, "ChangeDisplayMode 800x600x16"), run.os.Calls().size());
  EXPECT_EQ(ShellBoxes(run), std::vector<std::string>{kRefused});
}

TEST(MainLoop, FailedF1RecreationEndsWithZeroAndTearsDownOnce) {
  DemoRun run;
  run.afterPresent = [&](const PresentedFrame& f) {
    if (f.number != 1) return;
    run.os.QueueKeyDown(VK_F1);
    run.os.Fail(Step::kCreateWindow);
  };
  EXPECT_EQ(run.Run(), 0);
  EXPECT_EQ(ShellBoxes(run), std::vector<std::string>{"Window Creation Error. / ERROR / 0x30 / no owner"});
  // One teardown for F1, one inside the failed creation, none after the loop.
  const auto& calls = run.os.Calls();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "UnregisterWindowClass"), 2);
  EXPECT_EQ(run.os.FramesPresented(), 2u);
}

}  // namespace
