// SdlPlatform: the real program's backend
#pragma once

#include <array>

#include "platform/Platform.h"

// SDL2 video for the display mode, the window, its GL context and the message boxes; SDL events translated
// into Win32 messages; the monotonic clock as a 32-bit tick count; SDL audio for the sound.

namespace platform {

class SdlPlatform : public Platform {
 public:
  SdlPlatform();
  ~SdlPlatform() override;

  bool RegisterWindowClass() override;
  bool UnregisterWindowClass() override;
  bool ChangeDisplayMode(int width, int height, int bits) override;
  void RestoreDisplayMode() override;
  void ShowCursor(bool show) override;
  WindowHandle CreateWindow(const std::string& title, int width, int height, WindowStyle style,
                            int colorBits) override;
  bool DestroyWindow(WindowHandle window) override;
  void ShowWindow(WindowHandle window) override;
  DeviceHandle GetDeviceContext(WindowHandle window) override;
  bool ReleaseDeviceContext(WindowHandle window, DeviceHandle device) override;
  int ChoosePixelFormat(DeviceHandle device, const PixelFormat& format) override;
  bool SetPixelFormat(DeviceHandle device, int index, const PixelFormat& format) override;
  ContextHandle CreateContext(DeviceHandle device) override;
  bool MakeCurrent(DeviceHandle device, ContextHandle context) override;
  bool DeleteContext(ContextHandle context) override;
  bool SwapBuffers(DeviceHandle device) override;
  int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                 uint32_t flags) override;
  uint32_t GetTickCount() override;
  SoundSystem& Sound() override { return sound_; }

 protected:
  void PumpEvents() override;

 private:
  struct DisplayMode {
    bool pending = false;
    int width = 0, height = 0, format = 0, refresh = 0;
  };
  void TranslateKey(const void* event);
  void TranslateWindowEvent(const void* event);
  void* Window(WindowHandle handle) const;  // SDL_Window*, null when not ours

  bool videoUp_ = false;
  bool classRegistered_ = false;
  std::array<bool, 256> plainDown_{};  // keys whose last key-down was a plain WM_KEYDOWN
  DisplayMode mode_;
  WindowHandle window_ = 0;  // SDL window id
  int windowColorBits_ = 0;
  SoundSystem sound_;
};

}  // namespace platform
