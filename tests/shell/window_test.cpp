// Window creation and teardown: every step, its failure box and the order of teardown
#include "shell/internal/Window.h"

#include <gtest/gtest.h>

#include "shell/Harness.h"

using namespace platform;

namespace {

// Quick programme: start, one frame, end.
int32_t Short(uint64_t k) { return k == 0 ? 0 : 185900; }

TEST(CreateRenderWindow, StartsFullscreenAt1024x768x32AndEndsWithTheProgramme) {
  Harness h;
  h.timeOf = Short;
  EXPECT_EQ(h.Run(), 0);
  EXPECT_TRUE(h.Called("ChangeDisplayMode 1024x768x32"));
  EXPECT_TRUE(h.Called("CreateWindow Brumlys' Landscape 1024x768x32 popup"));
  EXPECT_LT(h.CallIndex("ShowCursor 0"), h.CallIndex("CreateWindow Brumlys' Landscape 1024x768x32 popup"));
  EXPECT_TRUE(h.ShellBoxes().empty());
  EXPECT_EQ(h.os.FramesPresented(), 1u);  // the frame at 185900 is not presented
  // Everything released, the desktop mode and the cursor back.
  EXPECT_FALSE(h.os.HasWindow());
  EXPECT_FALSE(h.os.HasContext());
  EXPECT_FALSE(h.os.ClassRegistered());
  EXPECT_FALSE(h.os.DisplayModeChanged());
  EXPECT_TRUE(h.os.CursorVisible());
  EXPECT_EQ(h.demo.shell.MainWindow, 0u);
}

TEST(CreateRenderWindow, RefusedModeAnsweredYesRunsFramedWithTheCursor) {
  Harness h;
  h.timeOf = Short;
  h.os.RefuseAllDisplayModes();
  bool checked = false;
  h.afterPresent = [&](uint64_t) {
    checked = true;
    EXPECT_TRUE(h.os.WindowVisible());
    EXPECT_EQ(h.os.Style(), WindowStyle::kFramed);
    EXPECT_EQ(h.os.WindowWidth(), 1024);
    EXPECT_EQ(h.os.WindowHeight(), 768);
    EXPECT_TRUE(h.os.CursorVisible());
    EXPECT_FALSE(h.demo.shell.AppFullscreen);
  };
  EXPECT_EQ(h.Run(), 0);
  EXPECT_TRUE(checked);
  ASSERT_EQ(h.ShellBoxes().size(), 1u);
  const auto& box = h.ShellBoxes()[0];
  EXPECT_EQ(box.text,
            "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?");
  EXPECT_EQ(box.caption, "Landscape");
  EXPECT_EQ(box.flags, 0x34u);
  EXPECT_EQ(box.owner, 0u);
  EXPECT_FALSE(h.Called("ShowCursor 0"));
  EXPECT_FALSE(h.Called("RestoreDisplayMode"));  // a window never had a mode to give back
}

TEST(CreateRenderWindow, RefusedModeAnsweredNoClosesWithoutAWindow) {
  Harness h;
  h.os.RefuseAllDisplayModes();
  h.os.QueueAnswer(IDNO);
  EXPECT_EQ(h.Run(), 0);
  ASSERT_EQ(h.ShellBoxes().size(), 2u);
  EXPECT_EQ(h.ShellBoxes()[1].text, "Program Will Now Close.");
  EXPECT_EQ(h.ShellBoxes()[1].caption, "ERROR");
  EXPECT_EQ(h.ShellBoxes()[1].flags, 0x10u);
  EXPECT_EQ(h.os.WindowsCreated(), 0);
  EXPECT_EQ(h.os.FramesPresented(), 0u);
  EXPECT_FALSE(h.Called("UnregisterWindowClass"));  // no teardown at all
}

TEST(CreateRenderWindow, FailedClassRegistrationStopsBeforeTheDisplayMode) {
  Harness h;
  h.os.Fail(Step::kRegisterClass);
  EXPECT_EQ(h.Run(), 0);
  ASSERT_EQ(h.ShellBoxes().size(), 1u);
  EXPECT_EQ(h.ShellBoxes()[0].text, "Failed To Register The Window Class.");
  EXPECT_EQ(h.ShellBoxes()[0].caption, "ERROR");
  EXPECT_EQ(h.ShellBoxes()[0].flags, 0x30u);
  EXPECT_FALSE(h.Called("ChangeDisplayMode 1024x768x32"));
  EXPECT_FALSE(h.Called("UnregisterWindowClass"));
}

struct StepFailure {
  Step step;
  const char* text;
};

class FailureAfterWindow : public ::testing::TestWithParam<StepFailure> {};

TEST_P(FailureAfterWindow, TearsDownBeforeItsBoxAndEndsWithZero) {
  Harness h;
  h.os.Fail(GetParam().step);
  EXPECT_EQ(h.Run(), 0);
  ASSERT_EQ(h.ShellBoxes().size(), 1u);
  const auto& box = h.ShellBoxes()[0];
  EXPECT_EQ(box.text, GetParam().text);
  EXPECT_EQ(box.caption, "ERROR");
  EXPECT_EQ(box.flags, 0x30u);
  EXPECT_EQ(box.owner, 0u);
  // The desktop mode is back before the box shows.
  EXPECT_LT(h.CallIndex("RestoreDisplayMode"), h.CallIndex("MessageBox ERROR"));
  EXPECT_LT(h.CallIndex("UnregisterWindowClass"), h.CallIndex("MessageBox ERROR"));
  EXPECT_FALSE(h.os.HasWindow());
  EXPECT_FALSE(h.os.HasContext());
  EXPECT_FALSE(h.os.DisplayModeChanged());
  EXPECT_EQ(h.os.FramesPresented(), 0u);
  EXPECT_FALSE(h.demo.music.HasStream());  // the demo never started
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, FailureAfterWindow,
    ::testing::Values(StepFailure{Step::kCreateWindow, "Window Creation Error."},
                      StepFailure{Step::kGetDeviceContext, "Can't Create A GL Device Context."},
                      StepFailure{Step::kChoosePixelFormat, "Can't Find A Suitable PixelFormat."},
                      StepFailure{Step::kSetPixelFormat, "Can't Set The PixelFormat."},
                      StepFailure{Step::kCreateContext, "Can't Create A GL Rendering Context."},
                      StepFailure{Step::kMakeCurrent, "Can't Activate The GL Rendering Context."}));

TEST(DestroyRenderWindow, ReportsEachFailedReleaseAndGoesOn) {
  Harness h;
  h.timeOf = Short;
  h.os.Fail(Step::kReleaseCurrent);
  h.os.Fail(Step::kDeleteContext);
  h.os.Fail(Step::kReleaseDeviceContext);
  h.os.Fail(Step::kDestroyWindow);
  h.os.Fail(Step::kUnregisterClass);
  EXPECT_EQ(h.Run(), 0);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Release Of DC And RC Failed.", "SHUTDOWN ERROR"},
      {"Release Rendering Context Failed.", "SHUTDOWN ERROR"},
      {"Release Device Context Failed.", "SHUTDOWN ERROR"},
      {"Could Not Release hWnd.", "hmm"},
      {"Could Not Unregister Class.", "SHUTDOWN ERROR"}};
  ASSERT_EQ(h.ShellBoxes().size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(h.ShellBoxes()[i].text, expected[i].first);
    EXPECT_EQ(h.ShellBoxes()[i].caption, expected[i].second);
    EXPECT_EQ(h.ShellBoxes()[i].flags, 0x40u);
    EXPECT_EQ(h.ShellBoxes()[i].owner, 0u);
  }
  EXPECT_EQ(h.demo.shell.RenderContext, 0u);
  EXPECT_EQ(h.demo.shell.MainWindow, 0u);
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
