// WebPlatform: the browser build's backend
//
// The window is a canvas on the page with a WebGL 2 context; keys come from the page as Win32 key messages;
// message boxes are page overlays that wait for a click; the clock is the audio output's once the music
// plays; SwapBuffers hands the frame to the browser and waits for the next animation frame. Browsers go full
// screen only on a gesture, so the display mode is refused unless the user has just pressed a key, and the
// question that follows is shown as "Full screen?", its click being the gesture (and the start of the sound).
// A test run replaces the clock with a virtual one and hands chosen frames to the page; a timing run answers
// the start itself and reports the delay to the first frame.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/web/WebKeys.h"
#include "platform/web/WebOptions.h"

namespace platform {

// The page address's query string ("?test&fps=5...").
std::string PageQuery();
// Shows a problem that keeps the demo from starting, in the page (and in a report
// for a test run).
void ShowPageProblem(const std::string& text);

class WebPlatform : public Platform {
 public:
  explicit WebPlatform(const WebOptions& options);
  ~WebPlatform() override;
  WebPlatform(const WebPlatform&) = delete;
  WebPlatform& operator=(const WebPlatform&) = delete;

  const WebOptions& Options() const { return options_; }
  // After the demo has ended: the closing screen, or the report of a test or timing run.
  void Finish(int exitCode);

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

  // From the page's key events.
  bool OnKey(const DomKey& key, bool control, bool meta);

 protected:
  // Key events post their messages as they come. A test run prepares its next frame
  // here, when the loop looks at its queue: the clock moves on, scripted keys go down.
  void PumpEvents() override;

 private:
  bool OwnWindow(WindowHandle handle) const { return handle != 0 && handle == window_; }
  void PresentTestFrame();
  void PrepareTestFrame();

  WebOptions options_;
  bool classRegistered_ = false;
  bool modeRefused_ = false;  // the next yes/no box is the full-screen question
  bool boxOpen_ = false;
  WindowHandle window_ = 0;
  WindowHandle nextWindow_ = 1;
  int windowBits_ = 0;
  int contextWidth_ = 0, contextHeight_ = 0;
  ContextHandle context_ = 0;
  std::array<bool, 256> plainDown_{};

  // Test runs: the virtual clock, the frame count, the next programme time to hand
  // out, the next scripted key and the keys held for the frame being drawn.
  uint32_t virtualTicks_ = 0;
  uint64_t frame_ = 0;
  bool framePrepared_ = false;
  bool framePresented_ = false;
  size_t nextTime_ = 0;
  size_t nextKey_ = 0;
  std::vector<std::string> heldKeys_;
  bool scriptedKey_ = false;  // a scripted key event is being delivered

  SoundSystem sound_;
};

}  // namespace platform
