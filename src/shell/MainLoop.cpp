// MainLoop: the entry, the loop and the F1 restart.
#include "shell/MainLoop.h"

#include "director/Timeline.h"
#include "shell/internal/KeyboardControls.h"
#include "shell/internal/Window.h"

using namespace platform;

namespace {

// F1: tear down, flip the mode, create again at 800 x 600 x 16 (restarting the demo).
bool RecreateWindow(Demo& demo) {
  demo.shell.SetKey(VK_F1, false);
  DestroyRenderWindow(demo);
  demo.shell.AppFullscreen = !demo.shell.AppFullscreen;
  return CreateRenderWindow(demo, kWindowTitle, 800, 600, 16, demo.shell.AppFullscreen);
}

}  // namespace

int RunMainLoop(Demo& demo, bool& recreateFailed) {
  recreateFailed = false;
  ShellState& shell = demo.shell;
  while (true) {
    Message message;
    if (demo.platform.PeekMessage(message)) {
      // The exit code is the quit message's; a loop left by Escape ends with 0.
      if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
      WindowProcedure(demo, message);  // no frame while messages are waiting
      continue;
    }
    bool done = false;
    if (shell.AppActive && !DrawFrame(demo)) done = true;
    if (done || shell.IsKeyDown(VK_ESCAPE)) {
      done = true;  // the last frame is not presented
    } else {
      demo.platform.SwapBuffers(shell.DeviceContext);  // also while minimised
    }
    if (shell.IsKeyDown(VK_F1) && !RecreateWindow(demo)) {
      recreateFailed = true;
      return 0;
    }
    ApplyKeyboardControls(demo);  // every pass, also the last one and while minimised
    if (done) return 0;
  }
}

int RunLandscape(Demo& demo, const LandscapeOptions& options) {
  if (!CreateRenderWindow(demo, kWindowTitle, options.width, options.height, 32, demo.shell.AppFullscreen)) {
    return 0;
  }
  bool recreateFailed = false;
  const int exitCode = RunMainLoop(demo, recreateFailed);
  if (recreateFailed) return 0;  // nothing left to tear down
  DestroyRenderWindow(demo);
  return exitCode;
}
