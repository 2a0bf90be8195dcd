// Window creation and teardown: every step, its failure box and the order of teardown
#include "shell/internal/Window.h"

#include <gtest/gtest.h>

#include "Shell.h"

using namespace platform;
using testsupport::DemoRun;
using namespace shelltest;

namespace {

const std::string kRefused =
    "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead? / "
    "Landscape / "
    "0x34 / no owner";

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
    EXPECT_LT(window, calls);
    EXPECT_TRUE(refused ? hide == calls : hide < window);
    EXPECT_EQ(cursorShown, refused);
    EXPECT_EQ(CallIndex(run, "RestoreDisplayMode") < calls, !refused);
    EXPECT_EQ(run.os.FramesPresented(), 1u);  // the frame at 185900 is not presented
    EXPECT_FALSE(run.os.HasWindow() || run.os.HasContext() || run.os.ClassRegistered());
    EXPECT_FALSE(run.os.DisplayModeChanged());
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
  const size_t box = CallIndex(run, "MessageBox ERROR"), calls = run.os.Calls().size();
  if (step == Step::kRegisterClass || step == Step::kChangeDisplayMode) {
    EXPECT_EQ(CallIndex(run, "UnregisterWindowClass"), calls);  // nothing to tear down
    EXPECT_EQ(CallIndex(run, "ChangeDisplayMode 1024x768x32") < calls, step != Step::kRegisterClass);
  } else {  // the desktop comes back before the box shows
    EXPECT_LT(CallIndex(run, "RestoreDisplayMode"), box);
    EXPECT_LT(CallIndex(run, "UnregisterWindowClass"), box);
  }
  EXPECT_FALSE(run.os.HasWindow() || run.os.HasContext() || run.os.DisplayModeChanged());
  EXPECT_EQ(run.os.FramesPresented(), 0u);
  EXPECT_FALSE(run.demo->music.HasStream());  // the demo never started
}

std::vector<Failure> FailureCases() {
  std::vector<Failure> cases = {
      {Step::kRegisterClass, {"Failed To Register The Window Class. / ERROR / 0x30 / no owner"}},
      {Step::kChangeDisplayMode, {kRefused, "Program Will Now Close. / ERROR / 0x10 / no owner"}}};
  const std::pair<Step, const char*> afterWindow[] = {
      {Step::kCreateWindow, "Window Creation Error."},
      {Step::kGetDeviceContext, "Can't Create A GL Device Context."},
      {Step::kChoosePixelFormat, "Can't Find A Suitable PixelFormat."},
      {Step::kSetPixelFormat, "Can't Set The PixelFormat."},
      {Step::kCreateContext, "Can't Create A GL Rendering Context."},
      {Step::kMakeCurrent, "Can't Activate The GL Rendering Context."}};
  for (const auto& [step, text] : afterWindow)
    cases.push_back({step, {std::string(text) + " / ERROR / 0x30 / no owner"}});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(EachStep, Failures, ::testing::ValuesIn(FailureCases()));

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
  EXPECT_EQ(run.demo->shell.RenderContext, 0u);
  EXPECT_EQ(run.demo->shell.MainWindow, 0u);
}

TEST(DestroyRenderWindow, WithNothingHeldOnlyUnregistersTheClass) {
  HeadlessPlatform os;
  Demo demo(os);
  demo.shell.AppFullscreen = false;
  os.RegisterWindowClass();
  os.ClearCalls();
  DestroyRenderWindow(demo);
  EXPECT_EQ(os.Calls(), std::vector<std::string>{"UnregisterWindowClass"});
  EXPECT_TRUE(os.MessageBoxes().empty());
  DestroyRenderWindow(demo);  // the class is gone now: that one failure is reported
  ASSERT_EQ(os.MessageBoxes().size(), 1u);
  EXPECT_EQ(os.MessageBoxes()[0].text, "Could Not Unregister Class.");
}

}  // namespace
