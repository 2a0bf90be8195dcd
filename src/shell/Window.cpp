// Window: each Win32 step of window creation and teardown, on the platform seam.
#include "shell/internal/Window.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "director/Startup.h"

using namespace platform;

namespace {

constexpr uint32_t kErrorFlags = MB_OK | MB_ICONEXCLAMATION;     // 0x30
constexpr uint32_t kShutdownFlags = MB_OK | MB_ICONINFORMATION;  // 0x40

// Steps past window creation: tear down first (so the desktop mode is back), then tell.
bool FailAfterWindow(Demo& demo, const char* text) {
  DestroyRenderWindow(demo);
  demo.platform.MessageBox(0, text, "ERROR", kErrorFlags);
  return false;
}

// False when the mode is refused and the user declines a window instead.
bool EnterFullscreen(Demo& demo, int width, int height, int bits) {
  if (demo.platform.ChangeDisplayMode(width, height, bits)) return true;
  const int answer = demo.platform.MessageBox(
      0, "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?",
      "Landscape", MB_YESNO | MB_ICONEXCLAMATION);
  if (answer == IDYES) {
    demo.shell.AppFullscreen = false;
    return true;
  }
  demo.platform.MessageBox(0, "Program Will Now Close.", "ERROR", MB_OK | MB_ICONSTOP);
  return false;
}

// Device context, pixel format and GL context, made current. Null text on success.
const char* CreateContext(Demo& demo, int bits) {
  Platform& os = demo.platform;
  ShellState& shell = demo.shell;
  PixelFormat format;
  format.colorBits = static_cast<uint8_t>(bits);
  shell.DeviceContext = os.GetDeviceContext(shell.MainWindow);
  if (shell.DeviceContext == 0) return "Can't Create A GL Device Context.";
  const int index = os.ChoosePixelFormat(shell.DeviceContext, format);
  if (index == 0) return "Can't Find A Suitable PixelFormat.";
  if (!os.SetPixelFormat(shell.DeviceContext, index, format)) return "Can't Set The PixelFormat.";
  shell.RenderContext = os.CreateContext(shell.DeviceContext);
  if (shell.RenderContext == 0) return "Can't Create A GL Rendering Context.";
  if (!os.MakeCurrent(shell.DeviceContext, shell.RenderContext))
    return "Can't Activate The GL Rendering Context.";
  return nullptr;
}

}  // namespace

bool CreateRenderWindow(Demo& demo, const std::string& title, int width, int height, int bits,
                        bool fullscreen) {
  Platform& os = demo.platform;
  ShellState& shell = demo.shell;
  shell.AppFullscreen = fullscreen;
  if (!os.RegisterWindowClass()) {
    os.MessageBox(0, "Failed To Register The Window Class.", "ERROR", kErrorFlags);
    return false;
  }
  shell.classRegistered = true;
  if (shell.AppFullscreen && !EnterFullscreen(demo, width, height, bits)) return false;
  const WindowStyle style = shell.AppFullscreen ? WindowStyle::kPopup : WindowStyle::kFramed;
  if (shell.AppFullscreen) os.ShowCursor(false);
  shell.MainWindow = os.CreateWindow(title, width, height, style, bits);
  if (shell.MainWindow == 0) return FailAfterWindow(demo, "Window Creation Error.");
  if (const char* failure = CreateContext(demo, bits)) return FailAfterWindow(demo, failure);
  os.ShowWindow(shell.MainWindow);
  ResizeScene(width, height);  // the requested size, not what the window received
  if (!InitDemo(demo)) return FailAfterWindow(demo, "Initialization Failed.");
  return true;
}

void DestroyRenderWindow(Demo& demo) {
  Platform& os = demo.platform;
  ShellState& shell = demo.shell;
  if (shell.AppFullscreen) {
    os.RestoreDisplayMode();
    os.ShowCursor(true);
  }
  if (shell.RenderContext != 0) {
    if (!os.MakeCurrent(0, 0))
      os.MessageBox(0, "Release Of DC And RC Failed.", "SHUTDOWN ERROR", kShutdownFlags);
    if (!os.DeleteContext(shell.RenderContext)) {
      os.MessageBox(0, "Release Rendering Context Failed.", "SHUTDOWN ERROR", kShutdownFlags);
    }
    shell.RenderContext = 0;
  }
  if (shell.DeviceContext != 0) {
    if (!os.ReleaseDeviceContext(shell.MainWindow, shell.DeviceContext)) {
      os.MessageBox(0, "Release Device Context Failed.", "SHUTDOWN ERROR", kShutdownFlags);
    }
    shell.DeviceContext = 0;
  }
  if (shell.MainWindow != 0) {
    if (!os.DestroyWindow(shell.MainWindow))
      os.MessageBox(0, "Could Not Release hWnd.", "hmm", kShutdownFlags);
    shell.MainWindow = 0;
  }
  if (!os.UnregisterWindowClass()) {
    os.MessageBox(0, "Could Not Unregister Class.", "SHUTDOWN ERROR", kShutdownFlags);
  }
  shell.classRegistered = false;
}

intptr_t WindowProcedure(Demo& demo, const Message& message) {
  ShellState& shell = demo.shell;
  switch (message.message) {
    case WM_ACTIVATE:
      shell.AppActive = HighWord(message.wParam) == 0;  // false only while minimised
      return 0;
    case WM_SYSCOMMAND:
      if (message.wParam == SC_SCREENSAVE || message.wParam == SC_MONITORPOWER) return 0;
      return demo.platform.DefWindowProc(message);
    case WM_CLOSE:
      demo.platform.PostQuitMessage(0);
      return 0;
    case WM_KEYDOWN:
      shell.SetKey(static_cast<uint32_t>(message.wParam), true);  // codes past 255 are ignored
      return 0;
    case WM_KEYUP:
      shell.SetKey(static_cast<uint32_t>(message.wParam), false);
      return 0;
    case WM_SIZE:
      ResizeScene(static_cast<int>(LowWord(static_cast<uintptr_t>(message.lParam))),
                  static_cast<int>(HighWord(static_cast<uintptr_t>(message.lParam))));
      return 0;
    default:
      return demo.platform.DefWindowProc(message);
  }
}

void ResizeScene(int width, int height) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  // Height over width, on purpose: every scene is composed under this projection. A
  // minimised window gives 0/0, a NaN aspect; the next size message replaces it.
  const float aspect = static_cast<float>(height) / static_cast<float>(width);
  gluPerspective(45.0, aspect, 0.1f, 200.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}
