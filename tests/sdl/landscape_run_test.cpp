// The real program on an X server: it opens its window, runs, and ends with exit code 0
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

// Last: Xlib's macros would break the headers above.
#include <X11/Xlib.h>
#include <X11/keysym.h>

// Skipped until the data generator has filled the run folder (a missing font would open a box that nobody
// answers here).

extern char** environ;

namespace {

Window FindWindow(Display* d, const char* title) {
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

int IgnoreErrors(Display*, XErrorEvent*) { return 0; }  // the window may go while we talk to it

// Waits up to `seconds` for the program's window; 0 when it never shows.
Window WaitForWindow(Display* d, double seconds) {
  for (int i = 0; i < seconds * 20; ++i) {
    if (Window w = FindWindow(d, "Brumlys' Landscape")) return w;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return 0;
}

// Exit status, or -1 when it had not ended after `seconds` (it is then killed).
int WaitForExit(pid_t pid, double seconds) {
  for (int i = 0; i < seconds * 20; ++i) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return -1;
}

class LandscapeRun : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* bin = std::getenv("LANDSCAPE_BINARY_DIR");
    const char* run = std::getenv("LANDSCAPE_RUN_DIR");
    if (bin == nullptr || run == nullptr) GTEST_SKIP() << "run by CTest only";
    program_ = std::filesystem::path(bin) / "landscape";
    runDir_ = run;
    if (!std::filesystem::exists(program_)) GTEST_SKIP() << "landscape not built";
    if (!std::filesystem::exists(runDir_ / "data" / "font" / "Font.tga")) GTEST_SKIP() << "no generated data";
    display_ = XOpenDisplay(nullptr);
    if (display_ == nullptr) GTEST_SKIP() << "no X server";
    XSetErrorHandler(IgnoreErrors);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, runDir_.c_str());
    const std::string path = program_.string();
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    ASSERT_EQ(posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
  }
  void TearDown() override {
    if (display_ != nullptr) XCloseDisplay(display_);
  }

  std::filesystem::path program_, runDir_;
  Display* display_ = nullptr;
  pid_t pid_ = 0;
};

TEST_F(LandscapeRun, EscapeEndsWithZero) {
  const Window window = WaitForWindow(display_, 20);
  ASSERT_NE(window, 0u);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));  // a few frames
  XKeyEvent key{};
  key.display = display_;
  key.window = window;
  key.root = DefaultRootWindow(display_);
  key.same_screen = True;
  key.keycode = XKeysymToKeycode(display_, XK_Escape);
  key.type = KeyPress;
  XSendEvent(display_, window, True, KeyPressMask, reinterpret_cast<XEvent*>(&key));
  XSync(display_, False);
  EXPECT_EQ(WaitForExit(pid_, 15), 0);
}

TEST_F(LandscapeRun, WindowCloseEndsWithZero) {
  const Window window = WaitForWindow(display_, 20);
  ASSERT_NE(window, 0u);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  XEvent close{};
  close.xclient.type = ClientMessage;
  close.xclient.window = window;
  close.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
  close.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, window, False, NoEventMask, &close);
  XSync(display_, False);
  EXPECT_EQ(WaitForExit(pid_, 15), 0);
}

}  // namespace
