// HeadlessPlatform: the backend for tests and the capture tool
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/HeadlessGL.h"
#include "platform/Platform.h"

// No display: the "window" is a record, its GL context an EGL pbuffer of the client size. Time is a virtual
// clock the driver advances; messages come from a script; message boxes are recorded and answered from a
// script; any Win32-shaped step can be made to fail; audio goes to a pulled sink that the clock drives. Two
// hooks let a driver run the very same main loop frame by frame: `onIdle` runs whenever the message queue is
// found empty (just before the loop draws a frame; it may set the clock or queue messages, which are then
// taken first), `onSwap` right after each presented frame, with the frame's context current (ReadPixels gives
// the picture).

namespace platform {

// The steps a test can make fail.
enum class Step {
  kRegisterClass,
  kUnregisterClass,
  kChangeDisplayMode,
  kCreateWindow,
  kDestroyWindow,
  kGetDeviceContext,
  kReleaseDeviceContext,
  kChoosePixelFormat,
  kSetPixelFormat,
  kCreateContext,
  kMakeCurrent,
  kReleaseCurrent,
  kDeleteContext,
};

struct MessageBoxRecord {
  WindowHandle owner = 0;
  std::string text;
  std::string caption;
  uint32_t flags = 0;
  int answer = 0;
};

enum class AudioOutput { kNull, kMemory, kFile };

struct HeadlessOptions {
  AudioOutput audio = AudioOutput::kNull;
  std::string audioPath;  // AudioOutput::kFile: raw s16le stereo PCM
  float soundVersion = kSoundLibraryVersion;
  uint32_t startTicks = 0;
};

class HeadlessPlatform : public Platform {
 public:
  explicit HeadlessPlatform(const HeadlessOptions& options = {});
  ~HeadlessPlatform() override;

  // ---- Driver side ----
  uint32_t Ticks() const { return ticks_; }
  void SetTicks(uint32_t ticks) { ticks_ = ticks; }  // jumps; no audio is produced for the jump
  void AdvanceClock(uint32_t ms);                    // moves on and pulls the audio for that time
  void QueueMessage(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
  void QueueKeyDown(uint32_t vk, bool alt = false);  // WM_KEYDOWN, or WM_SYSKEYDOWN with Alt/F10
  void QueueKeyUp(uint32_t vk, bool alt = false);
  void QueueClose() { QueueMessage(WM_CLOSE); }
  size_t QueuedMessages() const { return queue_.size(); }

  void QueueAnswer(int answer) { answers_.push_back(answer); }
  const std::vector<MessageBoxRecord>& MessageBoxes() const { return boxes_; }
  // Answer for boxes with no scripted answer left: IDOK, or IDYES for a question.
  std::function<int(const MessageBoxRecord&)> onMessageBox;

  void Fail(Step step) { failing_.insert(step); }
  void Heal(Step step) { failing_.erase(step); }
  // Display modes the "screen" offers; empty means every mode is accepted.
  void OfferDisplayModes(std::vector<std::array<int, 3>> modes) { modes_ = std::move(modes); }
  void RefuseAllDisplayModes() { modes_ = {{0, 0, 0}}; }

  std::function<void()> onIdle;
  std::function<void()> onSwap;

  // What the backend was asked to do, one line per call, in order (e.g.
  // "ChangeDisplayMode 1024x768x32", "RestoreDisplayMode", "MessageBox ERROR").
  const std::vector<std::string>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }

  // ---- State the tests look at ----
  bool HasWindow() const { return window_ != 0; }
  int WindowWidth() const { return width_; }
  int WindowHeight() const { return height_; }
  WindowStyle Style() const { return style_; }
  bool WindowVisible() const { return visible_; }
  bool CursorVisible() const { return cursorVisible_; }
  bool DisplayModeChanged() const { return modeChanged_; }
  bool ClassRegistered() const { return classRegistered_; }
  bool HasContext() const { return gl_ != nullptr; }
  int ContextColorBits() const { return contextBits_; }
  uint64_t FramesPresented() const { return framesPresented_; }
  int WindowsCreated() const { return windowsCreated_; }
  // RGBA bytes of the current context's frame, bottom row first; empty without one.
  std::vector<unsigned char> ReadPixels() const;
  PulledSink& AudioSink() { return *sink_; }

  // ---- Platform ----
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
  uint32_t GetTickCount() override { return ticks_; }
  SoundSystem& Sound() override { return *sound_; }

 protected:
  void PumpEvents() override;

 private:
  bool Failing(Step step) const { return failing_.count(step) != 0; }
  void Log(std::string line) { calls_.push_back(std::move(line)); }

  uint32_t ticks_;
  uint64_t audioRemainder_ = 0;  // ms x rate not yet turned into whole frames
  std::vector<int> answers_;
  size_t nextAnswer_ = 0;
  std::vector<MessageBoxRecord> boxes_;
  std::set<Step> failing_;
  std::vector<std::array<int, 3>> modes_;
  std::vector<std::string> calls_;

  bool classRegistered_ = false;
  bool modeChanged_ = false;
  bool cursorVisible_ = true;
  WindowHandle window_ = 0;
  WindowHandle nextWindow_ = 1;
  int width_ = 0, height_ = 0;
  int windowBits_ = 0;
  WindowStyle style_ = WindowStyle::kFramed;
  bool visible_ = false;
  bool deviceHeld_ = false;
  int pixelFormat_ = 0;
  int formatBits_ = 0;
  std::unique_ptr<HeadlessGL> gl_;
  ContextHandle context_ = 0;
  int contextBits_ = 0;
  bool current_ = false;
  uint64_t framesPresented_ = 0;
  int windowsCreated_ = 0;

  PulledSink* sink_ = nullptr;  // owned by sound_
  std::unique_ptr<SoundSystem> sound_;
};

}  // namespace platform
