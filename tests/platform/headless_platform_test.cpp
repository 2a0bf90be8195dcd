// The headless backend the other suites drive the demo on, and the SDL key table
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "platform/HeadlessPlatform.h"
#include "platform/internal/SdlKeys.h"

using namespace platform;

namespace {

// The shell's creation sequence; a 16-bit context really has 5-bit red, and with nothing current nothing
// is read or presented. Every e2e frame, at both depths, is read through the swap hook.
TEST(HeadlessPlatform, ContextsOfEitherDepth) {
  for (int bits : {16, 32}) {
    SCOPED_TRACE(bits);
    HeadlessPlatform os;
    ASSERT_TRUE(os.RegisterWindowClass());
    const DeviceHandle device = os.GetDeviceContext(os.CreateWindow("t", 40, 30, WindowStyle::kFramed, bits));
    PixelFormat format;
    format.colorBits = static_cast<uint8_t>(bits);
    ASSERT_TRUE(os.SetPixelFormat(device, os.ChoosePixelFormat(device, format), format));
    ASSERT_TRUE(os.MakeCurrent(device, os.CreateContext(device)));
    GLint red = 0;
    glGetIntegerv(GL_RED_BITS, &red);
    EXPECT_EQ(red, bits == 16 ? 5 : 8);
    EXPECT_EQ(os.ReadPixels().size(), 40u * 30u * 4u);
    EXPECT_TRUE(os.MakeCurrent(0, 0));
    EXPECT_TRUE(os.ReadPixels().empty());
    EXPECT_FALSE(os.SwapBuffers(device));
    EXPECT_EQ(os.FramesPresented(), 0u);
  }
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

TEST(HeadlessPlatform, ClockPullsAudioForTheTimePassed) {
  HeadlessPlatform os({AudioOutput::kMemory, "", kSoundLibraryVersion, 0});
  ASSERT_TRUE(os.Sound().Init(44100, 4, 0));
  for (int i = 0; i < 10; ++i) os.AdvanceClock(1);  // 44.1 frames a ms: the fractions add up
  EXPECT_EQ(os.AudioSink().FramesPulled(), 441u);
  os.AdvanceClock(16);
  os.SetTicks(5);  // a jump produces nothing
  EXPECT_EQ(os.AudioSink().FramesPulled(), 441u + 705u);
}

TEST(SdlKeys, TranslatesToVirtualKeys) {
  constexpr int32_t kScancode = 1 << 30;  // SDL key codes without a character carry this bit
  const std::pair<int32_t, uint32_t> cases[] = {{27, VK_ESCAPE},
                                                {127, VK_DELETE},
                                                {'#', 0},
                                                {kScancode | 80, VK_LEFT},
                                                {kScancode | 73, VK_INSERT},
                                                {kScancode | 98, VK_NUMPAD0}};
  for (const auto& [sdl, vk] : cases) EXPECT_EQ(VirtualKeyFromSdl(sdl), vk) << sdl;
  for (int32_t c = 'a'; c <= 'z'; ++c) EXPECT_EQ(VirtualKeyFromSdl(c), static_cast<uint32_t>(c - 'a' + 'A'));
  for (int32_t c = '0'; c <= '9'; ++c) EXPECT_EQ(VirtualKeyFromSdl(c), static_cast<uint32_t>(c));
  for (uint32_t k = 0; k < 12; ++k) EXPECT_EQ(VirtualKeyFromSdl(kScancode | (58 + k)), VK_F1 + k) << k;
  for (uint32_t k = 1; k <= 9; ++k) EXPECT_EQ(VirtualKeyFromSdl(kScancode | (88 + k)), VK_NUMPAD0 + k) << k;
}

}  // namespace
