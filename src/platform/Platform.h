// Platform: the seam between the demo and the operating system, in Win32 terms
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "platform/Sound.h"
#include "platform/Win32.h"

// The seam between the demo and the operating system, shaped after the Win32 calls the shell was written
// against (display mode, window class, window, device context, pixel format, GL context, message queue,
// message boxes, tick clock) plus the FSOUND-style sound layer. Two backends implement it: SdlPlatform for
// the real program and HeadlessPlatform for tests and the capture tool.

namespace platform {

// Opaque handles; 0 is "none", as a null Win32 handle.
using WindowHandle = uintptr_t;
using DeviceHandle = uintptr_t;
using ContextHandle = uintptr_t;

struct Message {
  WindowHandle window = 0;
  uint32_t message = 0;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
};

// The fields of the Win32 pixel-format descriptor the demo fills in.
inline constexpr uint32_t PFD_DOUBLEBUFFER = 0x01;
inline constexpr uint32_t PFD_DRAW_TO_WINDOW = 0x04;
inline constexpr uint32_t PFD_SUPPORT_OPENGL = 0x20;
struct PixelFormat {
  uint16_t size = 40;
  uint16_t version = 1;
  uint32_t flags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  uint8_t pixelType = 0;  // RGBA
  uint8_t colorBits = 32;
  uint8_t depthBits = 16;
  uint8_t stencilBits = 0;
};

// Window styles the shell picks: a borderless popup in a changed display mode, or a
// framed, resizable window on the desktop.
enum class WindowStyle { kPopup, kFramed };

class Platform {
 public:
  virtual ~Platform() = default;

  // Window class: the backend's video system comes up with it and goes with it.
  virtual bool RegisterWindowClass() = 0;
  virtual bool UnregisterWindowClass() = 0;

  // Full-screen display mode of width x height at `bits` per pixel (32 matches a
  // 24- or 32-bit true-colour mode, 16 a 16-bit one). False when refused.
  virtual bool ChangeDisplayMode(int width, int height, int bits) = 0;
  virtual void RestoreDisplayMode() = 0;
  virtual void ShowCursor(bool show) = 0;

  // A window at (0, 0) with the given client size, hidden until ShowWindow, able to
  // take a GL pixel format of `colorBits` (X11 fixes a window's visual when it is
  // created, so the depth is known here already). 0 on failure.
  virtual WindowHandle CreateWindow(const std::string& title, int width, int height, WindowStyle style,
                                    int colorBits) = 0;
  virtual bool DestroyWindow(WindowHandle window) = 0;
  virtual void ShowWindow(WindowHandle window) = 0;  // show, raise and focus

  virtual DeviceHandle GetDeviceContext(WindowHandle window) = 0;
  virtual bool ReleaseDeviceContext(WindowHandle window, DeviceHandle device) = 0;
  // Index of a format close to `format` (1-based), 0 when none fits.
  virtual int ChoosePixelFormat(DeviceHandle device, const PixelFormat& format) = 0;
  virtual bool SetPixelFormat(DeviceHandle device, int index, const PixelFormat& format) = 0;
  virtual ContextHandle CreateContext(DeviceHandle device) = 0;
  // MakeCurrent(0, 0) releases the current context.
  virtual bool MakeCurrent(DeviceHandle device, ContextHandle context) = 0;
  virtual bool DeleteContext(ContextHandle context) = 0;
  virtual bool SwapBuffers(DeviceHandle device) = 0;

  // Non-blocking: takes the next message, false when the queue is empty. WM_QUIT
  // comes only once every other message has been taken, as on Win32.
  bool PeekMessage(Message& message);
  void PostMessage(const Message& message) { queue_.push_back(message); }
  void PostQuitMessage(int exitCode);
  // What Win32's default window procedure does for the messages the demo passes on:
  // Alt+F4 becomes SC_CLOSE, SC_CLOSE becomes WM_CLOSE; everything else is ignored.
  intptr_t DefWindowProc(const Message& message);

  // Modal box with Win32 flags; returns IDOK, IDYES, IDNO, ... or 0 when none could be shown.
  virtual int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                         uint32_t flags) = 0;

  // Milliseconds, wrapping at 2^32 like GetTickCount; differences are taken as int32.
  virtual uint32_t GetTickCount() = 0;

  virtual SoundSystem& Sound() = 0;

 protected:
  // Moves whatever the backend has pending (input, window events) into the queue.
  virtual void PumpEvents() = 0;
  std::deque<Message> queue_;

 private:
  bool quitPosted_ = false;
  int quitCode_ = 0;
};

}  // namespace platform
