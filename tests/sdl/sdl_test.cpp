// The SDL backend on a real X server (Xvfb, skipped when missing)
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "platform/SdlAudioSink.h"
#include "platform/SdlPlatform.h"

// Last: Xlib's macros (None, Bool, ...) would break the headers above.
#include <X11/Xlib.h>
#include <X11/keysym.h>

// Keys reach it as X events, so the translation into Win32 messages is tested end to end.

extern char** environ;

using namespace platform;

namespace {

class XServer : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (std::getenv("DISPLAY") != nullptr) return;
    const std::string display = ":" + std::to_string(90 + getpid() % 500);
    const char* argv[] = {"Xvfb",        display.c_str(), "-screen", "0",
                          "1024x768x24", "-nolisten",     "tcp",     nullptr};
    if (posix_spawnp(&pid_, "Xvfb", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
      pid_ = 0;
      return;
    }
    setenv("DISPLAY", display.c_str(), 1);
    for (int i = 0; i < 100; ++i) {  // up to 5 s for the server to accept clients
      if (Display* d = XOpenDisplay(nullptr)) {
        XCloseDisplay(d);
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  void TearDown() override {
    if (pid_ == 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }

 private:
  pid_t pid_ = 0;
};

const auto* const kServer = ::testing::AddGlobalTestEnvironment(new XServer);

bool HaveDisplay() {
  Display* d = XOpenDisplay(nullptr);
  if (d == nullptr) return false;
  XCloseDisplay(d);
  return true;
}

// Sends a key press (and release) to the window called `title`, as a keyboard would.
void SendKey(const char* title, KeySym sym, unsigned modifiers, bool press, bool release) {
  Display* d = XOpenDisplay(nullptr);
  ASSERT_NE(d, nullptr);
  Window root = DefaultRootWindow(d), parent = 0, *children = nullptr, target = 0;
  unsigned count = 0;
  XQueryTree(d, root, &root, &parent, &children, &count);
  for (unsigned i = 0; i < count && target == 0; ++i) {
    char* name = nullptr;
    if (XFetchName(d, children[i], &name) && name != nullptr) {
      if (std::strcmp(name, title) == 0) target = children[i];
      XFree(name);
    }
  }
  if (children != nullptr) XFree(children);
  ASSERT_NE(target, 0u);
  XKeyEvent event{};
  event.display = d;
  event.window = target;
  event.root = DefaultRootWindow(d);
  event.same_screen = True;
  event.keycode = XKeysymToKeycode(d, sym);
  event.state = modifiers;
  event.type = KeyPress;
  if (press) XSendEvent(d, target, True, KeyPressMask, reinterpret_cast<XEvent*>(&event));
  if (release) {
    event.type = KeyRelease;
    XSendEvent(d, target, True, KeyReleaseMask, reinterpret_cast<XEvent*>(&event));
  }
  XSync(d, False);
  XCloseDisplay(d);
}

// Polls for up to a second; returns the key messages seen.
std::vector<Message> KeyMessages(SdlPlatform& os, size_t wanted) {
  std::vector<Message> keys;
  for (int i = 0; i < 100 && keys.size() < wanted; ++i) {
    Message message;
    while (os.PeekMessage(message)) {
      if (message.message >= WM_KEYDOWN && message.message <= WM_SYSKEYUP) keys.push_back(message);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return keys;
}

class SdlPlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveDisplay()) GTEST_SKIP() << "no X server (Xvfb missing)";
  }
};

// One backend per process, as in the program: SDL is brought up once.
TEST_F(SdlPlatformTest, ModesWindowContextSwapAndKeys) {
  SdlPlatform os;
  EXPECT_FALSE(os.ChangeDisplayMode(1024, 768, 32));  // no video before the class
  ASSERT_TRUE(os.RegisterWindowClass());
  EXPECT_FALSE(os.RegisterWindowClass());            // registered once
  EXPECT_TRUE(os.ChangeDisplayMode(1024, 768, 32));  // 24-bit true colour counts as 32
  EXPECT_FALSE(os.ChangeDisplayMode(800, 600, 16));  // Xvfb offers only its own size and depth
  EXPECT_FALSE(os.ChangeDisplayMode(1024, 768, 16));
  os.RestoreDisplayMode();
  const uint32_t before = os.GetTickCount();
  const WindowHandle window = os.CreateWindow("sdl test window", 320, 240, WindowStyle::kFramed, 32);
  ASSERT_NE(window, 0u);
  const DeviceHandle device = os.GetDeviceContext(window);
  ASSERT_NE(device, 0u);
  PixelFormat format;
  PixelFormat other;
  other.colorBits = 16;
  EXPECT_EQ(os.ChoosePixelFormat(device, other), 0);  // the window was made for 32 bits
  const int index = os.ChoosePixelFormat(device, format);
  ASSERT_NE(index, 0);
  ASSERT_TRUE(os.SetPixelFormat(device, index, format));
  const ContextHandle context = os.CreateContext(device);
  ASSERT_NE(context, 0u);
  ASSERT_TRUE(os.MakeCurrent(device, context));
  GLint depth = 0, doubleBuffer = 0;
  glGetIntegerv(GL_DEPTH_BITS, &depth);
  glGetIntegerv(GL_DOUBLEBUFFER, &doubleBuffer);
  EXPECT_GE(depth, 16);
  EXPECT_TRUE(doubleBuffer);
  glClearColor(1, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  EXPECT_TRUE(os.SwapBuffers(device));
  os.ShowWindow(window);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));

  SendKey("sdl test window", XK_w, 0, true, true);
  SendKey("sdl test window", XK_Escape, 0, true, false);
  auto keys = KeyMessages(os, 3);
  ASSERT_EQ(keys.size(), 3u);
  EXPECT_EQ(keys[0].message, WM_KEYDOWN);
  EXPECT_EQ(keys[0].wParam, static_cast<uintptr_t>('W'));
  EXPECT_EQ(keys[1].message, WM_KEYUP);
  EXPECT_EQ(keys[2].message, WM_KEYDOWN);
  EXPECT_EQ(keys[2].wParam, VK_ESCAPE);

  // System keys: F10, and a letter with Alt held.
  SendKey("sdl test window", XK_F10, 0, true, true);
  SendKey("sdl test window", XK_Alt_L, 0, true, false);
  SendKey("sdl test window", XK_p, Mod1Mask, true, true);
  SendKey("sdl test window", XK_Alt_L, Mod1Mask, false, true);
  keys = KeyMessages(os, 6);
  ASSERT_GE(keys.size(), 2u);
  EXPECT_EQ(keys[0].message, WM_SYSKEYDOWN);
  EXPECT_EQ(keys[0].wParam, VK_F10);
  bool altP = false;
  for (const Message& m : keys) altP |= m.wParam == 'P' && m.message == WM_SYSKEYDOWN;
  EXPECT_TRUE(altP);

  // W goes down plainly, Alt follows, W comes up: a plain key-up, so the flag clears.
  SendKey("sdl test window", XK_w, 0, true, false);
  SendKey("sdl test window", XK_Alt_L, 0, true, false);
  SendKey("sdl test window", XK_w, Mod1Mask, false, true);
  SendKey("sdl test window", XK_Alt_L, Mod1Mask, false, true);
  keys = KeyMessages(os, 4);
  bool plainUp = false;
  for (const Message& m : keys) plainUp |= m.wParam == 'W' && m.message == WM_KEYUP;
  EXPECT_TRUE(plainUp);

  os.PostQuitMessage(0);
  Message message;
  bool quit = false;
  while (os.PeekMessage(message)) quit |= message.message == WM_QUIT;
  EXPECT_TRUE(quit);

  EXPECT_TRUE(os.MakeCurrent(0, 0));
  EXPECT_TRUE(os.DeleteContext(context));
  EXPECT_TRUE(os.ReleaseDeviceContext(window, device));
  EXPECT_FALSE(os.UnregisterWindowClass());  // the window still exists
  EXPECT_TRUE(os.DestroyWindow(window));
  EXPECT_FALSE(os.DestroyWindow(window));
  EXPECT_TRUE(os.UnregisterWindowClass());
  // The tick count follows the monotonic clock in milliseconds.
  const auto elapsed = static_cast<int32_t>(os.GetTickCount() - before);
  EXPECT_GE(elapsed, 200);
  EXPECT_LT(elapsed, 10000);
}

TEST(SdlAudioSink, PullsSamplesOnItsOwnThread) {
  SdlAudioSink sink;
  std::atomic<int> frames{0};
  std::atomic<bool> otherThread{false};
  const auto main = std::this_thread::get_id();
  ASSERT_TRUE(sink.Open(44100, [&](int16_t* out, int count) {
    std::memset(out, 0, static_cast<size_t>(count) * 4);
    frames += count;
    otherThread = std::this_thread::get_id() != main;
  }));
  for (int i = 0; i < 100 && frames.load() == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  sink.Close();
  EXPECT_GT(frames.load(), 0);
  EXPECT_TRUE(otherThread.load());
  EXPECT_FALSE(sink.IsOpen());
}

}  // namespace
