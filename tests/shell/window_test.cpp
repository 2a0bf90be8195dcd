// Window creation and teardown: every step, its failure box and the order of teardown
#include <gtest/gtest.h>

#include "Shell.h"

using namespace platform;
using testsupport::DemoRun;
using namespace shelltest;

namespace {

// Full screen with the cursor hidden before the window shows; or, every mode refused and the question
// answered Yes, a framed window with the cursor and no mode to give back. Either way all is released.
TEST(Start, RunsFullscreenOrFramedThenReleasesEverything) {
  for (bool refused : {false, true}) {
    SCOPED_TRACE(refused);
    DemoRun run;
    run.timeOf = testsupport::Visit({0, 185900});
    if (refused) run.os.RefuseAllDisplayModes();
    bool cursorShown = true;
    run.afterPresent = [&](const testsupport::PresentedFrame&) {
      EXPECT_TRUE(run.os.WindowVisible());
      cursorShown = run.os.CursorVisible();
    };
    EXPECT_EQ(run.Run(), 0);
    EXPECT_EQ(ShellBoxes(run), refused ? std::vector<std::string>{kRefused} : std::vector<std::string>{});
    const size_t calls = run.os.Calls().size(), hide = CallIndex(run, "ShowCursor 0");
    const size_t window = CallIndex(
        run, std::string("CreateWindow Brumlys' Landscape 1024x768x32 ") + (refused ? "framed" : "popup"));
    EXPECT_TRUE(window < calls && (refused ? hide == calls : hide < window));
    EXPECT_EQ(cursorShown, refused);
    EXPECT_EQ(CallIndex(run, "RestoreDisplayMode") < calls, !refused);
    EXPECT_EQ(run.os.FramesPresented(), 1u);  // the frame at 185900 is not presented
    EXPECT_FALSE(run.os.HasWindow() || run.os.HasContext() || run.os.ClassRegistered() ||
                 run.os.DisplayModeChanged());
    EXPECT_TRUE(run.os.CursorVisible());
  }
}

struct Failure {
  Step step;  // kChangeDisplayMode: every mode refused and the question answered No
  std::vector<std::string> boxes;
};

class Failures : public ::testing::TestWithParam<Failure> {};

TEST_P(Failures, ShowTheirBoxAfterTearingDownAndEndWithZero) {
  DemoRun run;
  const Step step = GetParam().step;
  if (step == Step::kChangeDisplayMode) {
    run.os.RefuseAllDisplayModes();
    run.os.QueueAnswer(IDNO);
  } else {
    run.os.Fail(step);
  }
  EXPECT_EQ(run.Run(), 0);
  EXPECT_EQ(ShellBoxes(run), GetParam().boxes);
  // Past the window the desktop comes back before the box; before it nothing is torn down.
  const bool torn = step != Step::kRegisterClass && step != Step::kChangeDisplayMode;
  const size_t box = CallIndex(run, "MessageBox ERROR");
  EXPECT_EQ(CallIndex(run, "RestoreDisplayMode") < box, torn);
  EXPECT_EQ(CallIndex(run, "UnregisterWindowClass") < box, torn);
  EXPECT_FALSE(run.os.HasWindow() || run.os.HasContext() || run.os.DisplayModeChanged());
  EXPECT_EQ(run.os.FramesPresented(), 0u);
}

const Failure kFailures[] = {
    {Step::kRegisterClass, {"Failed To Register The Window Class. / ERROR / 0x30 / no owner"}},
    {Step::kChangeDisplayMode, {kRefused, "Program Will Now Close. / ERROR / 0x10 / no owner"}},
    {Step::kCreateWindow, {"Window Creation Error. / ERROR / 0x30 / no owner"}},
    {Step::kGetDeviceContext, {"Can't Create A GL Device Context. / ERROR / 0x30 / no owner"}},
    {Step::kChoosePixelFormat, {"Can't Find A Suitable PixelFormat. / ERROR / 0x30 / no owner"}},
    {Step::kSetPixelFormat, {"Can't Set The PixelFormat. / ERROR / 0x30 / no owner"}},
    {Step::kCreateContext, {"Can't Create A GL Rendering Context. / ERROR / 0x30 / no owner"}},
    {Step::kMakeCurrent, {"Can't Activate The GL Rendering Context. / ERROR / 0x30 / no owner"}}};

INSTANTIATE_TEST_SUITE_P(EachStep, Failures, ::testing::ValuesIn(kFailures));

TEST(DestroyRenderWindow, ReportsEachFailedReleaseAndGoesOn) {
  DemoRun run;
  run.timeOf = testsupport::Visit({0, 185900});
  for (Step step : {Step::kReleaseCurrent, Step::kDeleteContext, Step::kReleaseDeviceContext,
                    Step::kDestroyWindow, Step::kUnregisterClass}) {
    run.os.Fail(step);
  }
  EXPECT_EQ(run.Run(), 0);
  EXPECT_EQ(ShellBoxes(run),
            (std::vector<std::string>{"Release Of DC And RC Failed. / SHUTDOWN ERROR / 0x40 / no owner",
                                      "Release Rendering Context Failed. / SHUTDOWN ERROR / 0x40 / no owner",
                                      "Release Device Context Failed. / SHUTDOWN ERROR / 0x40 / no owner",
                                      "Could Not Release hWnd. / hmm / 0x40 / no owner",
                                      "Could Not Unregister Class. / SHUTDOWN ERROR / 0x40 / no owner"}));
}

}  // namespace
