// The SDL backend and the real program on an X server (its own Xvfb; skipped when there is none)
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "platform/SdlAudioSink.h"
#include "platform/SdlPlatform.h"

// Last: Xlib's macros (None, Bool, ...) would break the headers above.
#include <X11/Xlib.h>
#include <X11/keysym.h>

// Keys and closes reach the windows as X events, so their translation is tested end to end. Waits poll
// with long limits and stop as soon as what they wait for happens: a loaded machine only makes them longer.

extern char** environ;

using namespace platform;
using Clock = std::chrono::steady_clock;

namespace {

class XServer : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (std::getenv("DISPLAY") == nullptr) {
      const std::string display = ":" + std::to_string(90 + getpid() % 500);
      const char* argv[] = {"Xvfb",        display.c_str(), "-screen", "0",
                            "1024x768x24", "-nolisten",     "tcp",     nullptr};
      if (posix_spawnp(&pid_, "Xvfb", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) return;
      setenv("DISPLAY", display.c_str(), 1);
    }
    for (int i = 0; i < 600 && display_ == nullptr; ++i) {  // up to 30 s for the server to take clients
      display_ = XOpenDisplay(nullptr);
      if (display_ == nullptr) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  void TearDown() override {
    if (display_ != nullptr) XCloseDisplay(display_);
    if (pid_ != 0) kill(pid_, SIGTERM), waitpid(pid_, nullptr, 0);
  }
  static Display* display_;

 private:
  pid_t pid_ = 0;
};
Display* XServer::display_ = nullptr;
const auto* const kServer = ::testing::AddGlobalTestEnvironment(new XServer);

int IgnoreErrors(Display*, XErrorEvent*) { return 0; }  // a window may go while we talk to it

Window FindWindow(const char* title) {
  Display* d = XServer::display_;
  Window root = DefaultRootWindow(d), parent = 0, *children = nullptr, found = 0;
  unsigned count = 0;
  if (!XQueryTree(d, root, &root, &parent, &children, &count)) return 0;
  for (unsigned i = 0; i < count && found == 0; ++i) {
    char* name = nullptr;
    if (XFetchName(d, children[i], &name) && name != nullptr) {
      if (std::strcmp(name, title) == 0) found = children[i];
      XFree(name);
    }
  }
  if (children != nullptr) XFree(children);
  return found;
}

// A key press or release (with `state`'s modifiers), or with sym 0 the window manager's close request.
void Send(Window target, KeySym sym, int type, unsigned state = 0) {
  Display* d = XServer::display_;
  XEvent event{};
  if (sym == 0) {
    event.xclient = {ClientMessage, 0, False, d, target, XInternAtom(d, "WM_PROTOCOLS", False), 32, {}};
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    XSendEvent(d, target, False, NoEventMask, &event);
  } else {
    XKeyEvent& key = event.xkey;
    key.type = type, key.display = d, key.window = target, key.root = DefaultRootWindow(d);
    key.state = state, key.keycode = XKeysymToKeycode(d, sym), key.same_screen = True;
    XSendEvent(d, target, True, type == KeyPress ? KeyPressMask : KeyReleaseMask, &event);
  }
  XSync(d, False);
}

class Sdl : public ::testing::Test {
 protected:
  void SetUp() override {
    if (XServer::display_ == nullptr) GTEST_SKIP() << "no X server (Xvfb missing)";
    XSetErrorHandler(IgnoreErrors);
  }
};

// One backend per process, as in the program: SDL is brought up once.
TEST_F(Sdl, WindowContextAndKeysAsWin32Messages) {
  SdlPlatform os;
  ASSERT_TRUE(os.RegisterWindowClass());
  EXPECT_TRUE(os.ChangeDisplayMode(1024, 768, 32));  // 24-bit true colour counts as 32
  EXPECT_FALSE(os.ChangeDisplayMode(800, 600, 16));  // Xvfb offers only its own size and depth
  os.RestoreDisplayMode();
  const uint32_t before = os.GetTickCount();
  const auto started = Clock::now();
  const WindowHandle window = os.CreateWindow("sdl test window", 320, 240, WindowStyle::kFramed, 32);
  const DeviceHandle device = os.GetDeviceContext(window);
  PixelFormat format;
  ASSERT_TRUE(os.SetPixelFormat(device, os.ChoosePixelFormat(device, format), format));
  const ContextHandle context = os.CreateContext(device);
  ASSERT_TRUE(os.MakeCurrent(device, context));
  glClear(GL_COLOR_BUFFER_BIT);
  EXPECT_TRUE(os.SwapBuffers(device));
  os.ShowWindow(window);
  // Keys sent before the window has the focus are not all taken: wait until it reports it has.
  std::vector<Message> taken;
  const auto waitFor = [&](const std::function<bool()>& done) {
    for (auto end = Clock::now() + std::chrono::seconds(30); !done() && Clock::now() < end;) {
      for (Message m; os.PeekMessage(m);) taken.push_back(m);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  };
  waitFor([&] {
    return std::any_of(taken.begin(), taken.end(),
                       [](const Message& m) { return m.message == WM_ACTIVATE && m.wParam == WA_ACTIVE; });
  });
  // W down and up; F10; Alt with P; W down plainly, Alt, W up with Alt held: a plain key-up, or W's
  // flag would stay down.
  const Window target = FindWindow("sdl test window");
  const std::pair<KeySym, int> presses[] = {
      {XK_w, KeyPress},   {XK_w, KeyRelease},     {XK_F10, KeyPress}, {XK_Alt_L, KeyPress},
      {XK_p, KeyPress},   {XK_Alt_L, KeyRelease}, {XK_w, KeyPress},   {XK_Alt_L, KeyPress},
      {XK_w, KeyRelease}, {XK_Alt_L, KeyRelease}};
  const std::vector<std::pair<uint32_t, uintptr_t>> expected = {
      {WM_KEYDOWN, 'W'},    {WM_KEYUP, 'W'},        {WM_SYSKEYDOWN, VK_F10}, {WM_SYSKEYDOWN, VK_MENU},
      {WM_SYSKEYDOWN, 'P'}, {WM_SYSKEYUP, VK_MENU}, {WM_KEYDOWN, 'W'},       {WM_SYSKEYDOWN, VK_MENU},
      {WM_KEYUP, 'W'},      {WM_SYSKEYUP, VK_MENU}};
  // One message for each, taken before the next is sent, as a typist's keys come apart.
  std::vector<std::pair<uint32_t, uintptr_t>> keys;
  unsigned alt = 0;  // the modifier state X reports with each key while Alt is held
  for (const auto& [sym, type] : presses) {
    Send(target, sym, type, alt);
    if (sym == XK_Alt_L) alt = type == KeyPress ? Mod1Mask : 0;
    const size_t wanted = keys.size() + 1;
    waitFor([&] {
      for (; !taken.empty(); taken.erase(taken.begin())) {
        const Message& m = taken.front();
        if (m.message >= WM_KEYDOWN && m.message <= WM_SYSKEYUP) keys.emplace_back(m.message, m.wParam);
      }
      return keys.size() >= wanted;
    });
  }
  EXPECT_EQ(keys, expected);
  EXPECT_TRUE(os.MakeCurrent(0, 0) && os.DeleteContext(context) && os.ReleaseDeviceContext(window, device));
  EXPECT_FALSE(os.UnregisterWindowClass());  // the window still exists
  EXPECT_TRUE(os.DestroyWindow(window));
  EXPECT_TRUE(os.UnregisterWindowClass());
  // The tick count follows the monotonic clock in milliseconds.
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count();
  EXPECT_NEAR(static_cast<int32_t>(os.GetTickCount() - before), elapsed, 50);
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
  for (auto end = Clock::now() + std::chrono::seconds(30); frames.load() == 0 && Clock::now() < end;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  sink.Close();
  EXPECT_GT(frames.load(), 0);
  EXPECT_TRUE(otherThread.load());
  EXPECT_FALSE(sink.IsOpen());
}

// The program, started in the generated run folder, ends with 0 on Escape or on the window's close long
// before its programme would; the request is sent again until it ends, as a start-up under load may not
// take events yet.
class Program : public Sdl, public ::testing::WithParamInterface<KeySym> {};

TEST_P(Program, EndsWithZeroLongBeforeItsProgrammeWould) {
  const char* bin = std::getenv("LANDSCAPE_BINARY_DIR");
  const char* run = std::getenv("LANDSCAPE_RUN_DIR");
  if (bin == nullptr || run == nullptr) GTEST_SKIP() << "run by CTest only";
  const std::string program = (std::filesystem::path(bin) / "landscape").string();
  // Without the data a missing font would open a box that nobody answers here.
  if (!std::filesystem::exists(std::filesystem::path(run) / "data" / "font" / "Font.tga")) GTEST_SKIP();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, run);
  char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  int status = -1;
  bool ended = false;
  for (auto end = Clock::now() + std::chrono::seconds(150); !ended && Clock::now() < end;) {
    if (const Window window = FindWindow("Brumlys' Landscape")) Send(window, GetParam(), KeyPress);
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    ended = waitpid(pid, &status, WNOHANG) == pid;
  }
  if (!ended) kill(pid, SIGKILL), waitpid(pid, &status, 0);
  EXPECT_TRUE(ended);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

INSTANTIATE_TEST_SUITE_P(EscapeOrClose, Program, ::testing::Values(XK_Escape, 0));

}  // namespace
