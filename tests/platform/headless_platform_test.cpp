// The headless backend: window and context steps, hooks, read-back, answers, modes and clock
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "platform/HeadlessPlatform.h"
#include "platform/internal/SdlKeys.h"

using namespace platform;

namespace {

// Window, device, format, context, current: the shell's creation sequence.
DeviceHandle Open(HeadlessPlatform& os, int width, int height, int bits) {
  EXPECT_TRUE(os.RegisterWindowClass());
  const WindowHandle window = os.CreateWindow("t", width, height, WindowStyle::kFramed, bits);
  const DeviceHandle device = os.GetDeviceContext(window);
  PixelFormat format;
  format.colorBits = static_cast<uint8_t>(bits);
  const int index = os.ChoosePixelFormat(device, format);
  EXPECT_TRUE(os.SetPixelFormat(device, index, format));
  const ContextHandle context = os.CreateContext(device);
  EXPECT_NE(context, 0u);
  EXPECT_TRUE(os.MakeCurrent(device, context));
  return device;
}

TEST(HeadlessPlatform, SwapHookSeesThePresentedFrame) {
  HeadlessPlatform os;
  const DeviceHandle device = Open(os, 40, 30, 32);
  std::vector<unsigned char> seen;
  os.onSwap = [&] { seen = os.ReadPixels(); };
  glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  ASSERT_TRUE(os.SwapBuffers(device));
  ASSERT_EQ(seen.size(), 40u * 30u * 4u);
  EXPECT_EQ(seen[1], 255);
  EXPECT_EQ(seen[0], 0);
  EXPECT_EQ(os.FramesPresented(), 1u);
  EXPECT_EQ(os.ContextColorBits(), 32);
}

TEST(HeadlessPlatform, SixteenBitContextAndReleaseLeaveNoCurrentContext) {
  HeadlessPlatform os;
  const DeviceHandle device = Open(os, 16, 16, 16);
  EXPECT_EQ(os.ContextColorBits(), 16);
  GLint red = 0;
  glGetIntegerv(GL_RED_BITS, &red);
  EXPECT_EQ(red, 5);
  EXPECT_TRUE(os.MakeCurrent(0, 0));
  EXPECT_TRUE(os.ReadPixels().empty());
  EXPECT_FALSE(os.SwapBuffers(device));  // nothing current, nothing presented
}

TEST(HeadlessPlatform, StepsRefuseOutOfOrderUse) {
  HeadlessPlatform os;
  EXPECT_EQ(os.CreateWindow("t", 10, 10, WindowStyle::kPopup, 32), 0u);  // no class yet
  os.RegisterWindowClass();
  const WindowHandle window = os.CreateWindow("t", 10, 10, WindowStyle::kPopup, 32);
  EXPECT_EQ(os.CreateWindow("t", 10, 10, WindowStyle::kPopup, 32), 0u);  // one window only
  EXPECT_EQ(os.CreateContext(window), 0u);                               // no device context, no format yet
  EXPECT_FALSE(os.UnregisterWindowClass());                              // a window of the class exists
  EXPECT_FALSE(os.DestroyWindow(window + 1));
  EXPECT_TRUE(os.DestroyWindow(window));
  EXPECT_TRUE(os.UnregisterWindowClass());
}

TEST(HeadlessPlatform, DisplayModesAndBoxAnswers) {
  HeadlessPlatform os;
  EXPECT_TRUE(os.ChangeDisplayMode(640, 480, 8));  // every mode by default
  os.OfferDisplayModes({{1024, 768, 32}});
  EXPECT_FALSE(os.ChangeDisplayMode(1024, 768, 16));
  EXPECT_TRUE(os.ChangeDisplayMode(1024, 768, 32));
  EXPECT_TRUE(os.DisplayModeChanged());
  os.RestoreDisplayMode();
  EXPECT_FALSE(os.DisplayModeChanged());

  EXPECT_EQ(os.MessageBox(0, "a", "b", MB_YESNO), IDYES);
  EXPECT_EQ(os.MessageBox(7, "c", "d", MB_OK), IDOK);
  os.QueueAnswer(IDNO);
  EXPECT_EQ(os.MessageBox(0, "e", "f", MB_YESNO), IDNO);
  os.onMessageBox = [](const MessageBoxRecord& box) { return box.caption == "x" ? IDCANCEL : IDOK; };
  EXPECT_EQ(os.MessageBox(0, "g", "x", MB_OKCANCEL), IDCANCEL);
  ASSERT_EQ(os.MessageBoxes().size(), 4u);
  EXPECT_EQ(os.MessageBoxes()[1].owner, 7u);
  EXPECT_EQ(os.MessageBoxes()[2].answer, IDNO);
}

TEST(HeadlessPlatform, ClockWrapsAndPullsAudioForTheTimePassed) {
  HeadlessOptions options;
  options.startTicks = 0xFFFFFFF0u;
  HeadlessPlatform os(options);
  os.AdvanceClock(0x20);
  EXPECT_EQ(os.GetTickCount(), 0x10u);
  ASSERT_TRUE(os.Sound().Init(44100, 4, 0));
  // 44.1 frames per ms: the fractions add up instead of getting lost.
  for (int i = 0; i < 10; ++i) os.AdvanceClock(1);
  EXPECT_EQ(os.AudioSink().FramesPulled(), 441u);
  os.AdvanceClock(16);
  EXPECT_EQ(os.AudioSink().FramesPulled(), 441u + 705u);
  os.SetTicks(5);  // a jump produces nothing
  EXPECT_EQ(os.AudioSink().FramesPulled(), 441u + 705u);
}

TEST(HeadlessPlatform, IdleHookRunsOnlyWhenTheQueueIsEmpty) {
  HeadlessPlatform os;
  int idle = 0;
  os.onIdle = [&] {
    if (++idle == 1) os.QueueKeyDown('K');  // a driver may queue keys before a frame
  };
  Message message;
  ASSERT_TRUE(os.PeekMessage(message));
  EXPECT_EQ(message.message, WM_KEYDOWN);
  EXPECT_EQ(message.wParam, static_cast<uintptr_t>('K'));
  EXPECT_FALSE(os.PeekMessage(message));
  EXPECT_EQ(idle, 2);
  os.PostQuitMessage(3);
  ASSERT_TRUE(os.PeekMessage(message));
  EXPECT_EQ(message.message, WM_QUIT);
  EXPECT_EQ(message.wParam, 3u);
}

TEST(SdlKeys, TranslatesToVirtualKeys) {
  EXPECT_EQ(VirtualKeyFromSdl('w'), static_cast<uint32_t>('W'));
  EXPECT_EQ(VirtualKeyFromSdl('a'), static_cast<uint32_t>('A'));
  EXPECT_EQ(VirtualKeyFromSdl('7'), static_cast<uint32_t>('7'));
  EXPECT_EQ(VirtualKeyFromSdl(27), VK_ESCAPE);
  EXPECT_EQ(VirtualKeyFromSdl((1 << 30) | 58), VK_F1);   // SDLK_F1
  EXPECT_EQ(VirtualKeyFromSdl((1 << 30) | 67), VK_F10);  // SDLK_F10
  EXPECT_EQ(VirtualKeyFromSdl((1 << 30) | 80), VK_LEFT);
  EXPECT_EQ(VirtualKeyFromSdl((1 << 30) | 73), VK_INSERT);
  EXPECT_EQ(VirtualKeyFromSdl(127), VK_DELETE);
  EXPECT_EQ(VirtualKeyFromSdl('#'), 0u);
}

}  // namespace
