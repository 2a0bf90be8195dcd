// The SDL backend and the real program on an X server (its own Xvfb; all skipped when there is none)
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>
#include <tuple>

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

// Always a server of its own, even on a desktop: the tests send keys and closes to windows found by name.
struct XServer : ::testing::Environment {
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::string display = ":" + std::to_string(90 + getpid() % 500);
    const char* cmd[] = {"Xvfb", display.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp", nullptr};
    if (posix_spawnp(&pid_, "Xvfb", nullptr, nullptr, const_cast<char**>(cmd), environ) != 0) GTEST_SKIP();
    setenv("DISPLAY", display.c_str(), 1);
    // Up to 30 s for the server to take clients.
    for (int i = 0; i < 600 && (display_ = XOpenDisplay(nullptr)) == nullptr; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (display_ == nullptr) GTEST_SKIP() << "Xvfb took no clients";
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });  // a window may go while we talk to it
  }
  void TearDown() override {
    if (display_ != nullptr) XCloseDisplay(display_);
    if (pid_ != 0) kill(pid_, SIGTERM), waitpid(pid_, nullptr, 0);
  }
  static inline Display* display_ = nullptr;
  pid_t pid_ = 0;
};
const auto* const kServer = ::testing::AddGlobalTestEnvironment(new XServer);

Window FindWindow(const char* title) {
  Display* d = XServer::display_;
  Window root = 0, parent = 0, *children = nullptr, found = 0;
  unsigned count = 0;  // stays 0 when the query fails
  XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count);
  for (unsigned i = 0; i < count; ++i) {
    char* name = nullptr;  // stays null without a name; XFree takes null
    if (XFetchName(d, children[i], &name) && std::strcmp(name, title) == 0) found = children[i];
    XFree(name);
  }
  XFree(children);
  return found;
}

// A key press or release (with `state`'s modifiers), or with sym 0 the window manager's close request.
void Send(Window target, KeySym sym, int type, unsigned state = 0) {
  Display* d = XServer::display_;
  XEvent event{};
  if (sym == 0) {
    event.xclient = {ClientMessage, 0, False, d, target, XInternAtom(d, "WM_PROTOCOLS", False), 32, {}};
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  } else {
    event.xkey = {type, 0, False, d, target, DefaultRootWindow(d),     0,   CurrentTime,
                  0,    0, 0,     0, state,  XKeysymToKeycode(d, sym), True};
  }
  const long mask = sym == 0 ? NoEventMask : type == KeyPress ? KeyPressMask : KeyReleaseMask;
  XSendEvent(d, target, sym != 0, mask, &event);
  XSync(d, False);
}

// One backend per process, as in the program: SDL is brought up once.
TEST(Sdl, WindowContextAndKeysAsWin32Messages) {
  SdlPlatform os;
  ASSERT_TRUE(os.RegisterWindowClass());
  // 24-bit true colour counts as 32; Xvfb offers only its own size and depth.
  EXPECT_TRUE(os.ChangeDisplayMode(1024, 768, 32) && !os.ChangeDisplayMode(800, 600, 16));
  const auto [before, started] = std::make_pair(os.GetTickCount(), Clock::now());
  const WindowHandle window = os.CreateWindow("sdl test window", 320, 240, WindowStyle::kFramed, 32);
  const DeviceHandle device = os.GetDeviceContext(window);
  PixelFormat format;
  ASSERT_TRUE(os.SetPixelFormat(device, os.ChoosePixelFormat(device, format), format));
  const ContextHandle context = os.CreateContext(device);
  ASSERT_TRUE(os.MakeCurrent(device, context));
  EXPECT_TRUE(os.SwapBuffers(device));
  os.ShowWindow(window);
  // Keys sent before the window has the focus are not all taken: wait until it reports it has.
  std::vector<std::pair<uint32_t, uintptr_t>> keys;
  bool active = false;
  const auto waitFor = [&](const auto& done) {
    for (auto end = Clock::now() + std::chrono::seconds(30); !done() && Clock::now() < end;) {
      for (Message m; os.PeekMessage(m);) {
        active = active || (m.message == WM_ACTIVATE && m.wParam == WA_ACTIVE);
        if (m.message >= WM_KEYDOWN && m.message <= WM_SYSKEYUP) keys.emplace_back(m.message, m.wParam);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  };
  waitFor([&] { return active; });
  // F10; Alt with P; W down plainly, Alt, W up with Alt held: a plain key-up, or W's flag would stay down.
  // Each with the modifier state X reports while Alt is held.
  const Window target = FindWindow("sdl test window");
  constexpr unsigned kAlt = Mod1Mask;
  const std::tuple<KeySym, int, unsigned> presses[] = {
      {XK_F10, KeyPress, 0}, {XK_Alt_L, KeyPress, 0}, {XK_p, KeyPress, kAlt},   {XK_Alt_L, KeyRelease, kAlt},
      {XK_w, KeyPress, 0},   {XK_Alt_L, KeyPress, 0}, {XK_w, KeyRelease, kAlt}, {XK_Alt_L, KeyRelease, kAlt}};
  const std::vector<std::pair<uint32_t, uintptr_t>> expected = {
      {WM_SYSKEYDOWN, VK_F10}, {WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYDOWN, 'P'}, {WM_SYSKEYUP, VK_MENU},
      {WM_KEYDOWN, 'W'},       {WM_SYSKEYDOWN, VK_MENU}, {WM_KEYUP, 'W'},      {WM_SYSKEYUP, VK_MENU}};
  // One message for each, taken before the next is sent, as a typist's keys come apart.
  for (const auto& [sym, type, state] : presses) {
    Send(target, sym, type, state);
    const size_t wanted = keys.size() + 1;
    waitFor([&] { return keys.size() >= wanted; });
  }
  EXPECT_EQ(keys, expected);
  EXPECT_TRUE(os.MakeCurrent(0, 0) && os.DeleteContext(context) && os.ReleaseDeviceContext(window, device));
  // The class goes only after its window.
  EXPECT_TRUE(!os.UnregisterWindowClass() && os.DestroyWindow(window) && os.UnregisterWindowClass());
  // The tick count follows the monotonic clock in milliseconds.
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count();
  EXPECT_NEAR(static_cast<int32_t>(os.GetTickCount() - before), elapsed, 50);
}

TEST(SdlAudioSink, PullsSamplesOnItsOwnThread) {
  SdlAudioSink sink;
  std::atomic<int> frames{0};  // pulled on another thread than this one
  ASSERT_TRUE(sink.Open(44100, [&, main = std::this_thread::get_id()](int16_t* out, int count) {
    std::memset(out, 0, static_cast<size_t>(count) * 4);
    if (std::this_thread::get_id() != main) frames += count;
  }));
  for (auto end = Clock::now() + std::chrono::seconds(30); frames.load() == 0 && Clock::now() < end;)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  sink.Close();
  EXPECT_GT(frames.load(), 0);
  EXPECT_FALSE(sink.IsOpen());
}

// The program, started in the generated run folder, ends with 0 on Escape or on the window's close long
// before its programme would; the request is sent again until it ends, as a start-up under load may not
// take events yet.
class Program : public ::testing::TestWithParam<KeySym> {};

TEST_P(Program, EndsWithZeroLongBeforeItsProgrammeWould) {
  const char* bin = std::getenv("LANDSCAPE_BINARY_DIR");
  const char* run = std::getenv("LANDSCAPE_RUN_DIR");
  if (bin == nullptr || run == nullptr) GTEST_SKIP() << "run by CTest only";
  // Without the data a missing font would open a box that nobody answers here.
  if (!std::filesystem::exists(std::filesystem::path(run) / "data/font/Font.tga")) GTEST_SKIP();
  const std::string program = (std::filesystem::path(bin) / "landscape").string();
  const pid_t pid = fork();
  if (pid == 0) {  // only calls that are safe in the child of a threaded process
    if (chdir(run) == 0) execl(program.c_str(), program.c_str(), nullptr);
    _exit(127);
  }
  ASSERT_GT(pid, 0);
  int status = -1, sent = 0;  // one request at least, or it ended before it had a window
  const auto end = Clock::now() + std::chrono::seconds(150);
  while (waitpid(pid, &status, WNOHANG) != pid) {
    if (Clock::now() > end) kill(pid, SIGKILL);  // reaped on a later pass; its status then fails below
    const Window window = FindWindow("Brumlys' Landscape");
    if (window != 0) Send(window, GetParam(), KeyPress);
    sent += window != 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
  }
  EXPECT_TRUE(sent > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0) << status << ", sent " << sent;
}

INSTANTIATE_TEST_SUITE_P(EscapeOrClose, Program, ::testing::Values(XK_Escape, 0));

}  // namespace
