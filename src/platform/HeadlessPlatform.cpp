// HeadlessPlatform: the scripted, recorded stand-in for the operating system.
#include "platform/HeadlessPlatform.h"

#include <GL/gl.h>

#include <algorithm>

#ifdef LANDSCAPE_GL_LAYER
#include "platform/webgl/Gl11.h"
#endif

namespace platform {
namespace {

// Builds that draw through the engine's GL layer give it an ES 3 context to draw on.
#ifdef LANDSCAPE_GL_LAYER
constexpr GLApi kContextApi = GLApi::kEs3;
#else
constexpr GLApi kContextApi = GLApi::kDesktop;
#endif

std::string Size(int width, int height, int bits) {
  return std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(bits);
}

std::unique_ptr<PulledSink> MakeSink(const HeadlessOptions& options) {
  switch (options.audio) {
    case AudioOutput::kMemory:
      return std::make_unique<MemorySink>();
    case AudioOutput::kFile:
      return std::make_unique<FileSink>(options.audioPath);
    default:
      return std::make_unique<NullSink>();
  }
}

}  // namespace

HeadlessPlatform::HeadlessPlatform(const HeadlessOptions& options) : ticks_(options.startTicks) {
  std::unique_ptr<PulledSink> sink = MakeSink(options);
  sink_ = sink.get();
  sound_ = std::make_unique<SoundSystem>(std::move(sink), options.soundVersion);
}

HeadlessPlatform::~HeadlessPlatform() {
  sound_->Close();
  gl_.reset();
}

void HeadlessPlatform::AdvanceClock(uint32_t ms) {
  ticks_ += ms;  // wraps, as the real counter does
  if (!sink_->IsOpen()) {
    audioRemainder_ = 0;
    return;
  }
  const uint64_t due = audioRemainder_ + static_cast<uint64_t>(ms) * static_cast<uint64_t>(sink_->Rate());
  audioRemainder_ = due % 1000;
  uint64_t frames = due / 1000;
  while (frames > 0) {
    const int chunk = static_cast<int>(std::min<uint64_t>(frames, 1 << 20));
    sink_->Pump(chunk);
    frames -= static_cast<uint64_t>(chunk);
  }
}

void HeadlessPlatform::QueueMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  PostMessage({window_, message, wParam, lParam});
}

void HeadlessPlatform::QueueKeyDown(uint32_t vk, bool alt) {
  const bool system = alt || vk == VK_F10;
  QueueMessage(system ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, 1 | (alt ? KF_ALTDOWN_BIT : 0));
}

void HeadlessPlatform::QueueKeyUp(uint32_t vk, bool alt) {
  const bool system = alt || vk == VK_F10;
  QueueMessage(system ? WM_SYSKEYUP : WM_KEYUP, vk,
               1 | KF_REPEAT_BIT | KF_UP_BIT | (alt ? KF_ALTDOWN_BIT : 0));
}

void HeadlessPlatform::PumpEvents() {
  if (queue_.empty() && onIdle) onIdle();
}

std::vector<unsigned char> HeadlessPlatform::ReadPixels() const {
  if (gl_ == nullptr || !current_) return {};
  std::vector<unsigned char> pixels(static_cast<size_t>(gl_->Width()) * gl_->Height() * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, gl_->Width(), gl_->Height(), GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

bool HeadlessPlatform::RegisterWindowClass() {
  Log("RegisterWindowClass");
  if (Failing(Step::kRegisterClass)) return false;
  classRegistered_ = true;
  return true;
}

bool HeadlessPlatform::UnregisterWindowClass() {
  Log("UnregisterWindowClass");
  if (Failing(Step::kUnregisterClass) || !classRegistered_ || window_ != 0) return false;
  classRegistered_ = false;
  return true;
}

bool HeadlessPlatform::ChangeDisplayMode(int width, int height, int bits) {
  Log("ChangeDisplayMode " + Size(width, height, bits));
  if (Failing(Step::kChangeDisplayMode)) return false;
  const bool offered = modes_.empty() || std::any_of(modes_.begin(), modes_.end(), [&](const auto& mode) {
                         return mode[0] == width && mode[1] == height && mode[2] == bits;
                       });
  modeChanged_ = offered;
  return offered;
}

void HeadlessPlatform::RestoreDisplayMode() {
  Log("RestoreDisplayMode");
  modeChanged_ = false;
}

void HeadlessPlatform::ShowCursor(bool show) {
  Log(show ? "ShowCursor 1" : "ShowCursor 0");
  cursorVisible_ = show;
}

WindowHandle HeadlessPlatform::CreateWindow(const std::string& title, int width, int height,
                                            WindowStyle style, int colorBits) {
  Log("CreateWindow " + title + " " + Size(width, height, colorBits) +
      (style == WindowStyle::kPopup ? " popup" : " framed"));
  if (Failing(Step::kCreateWindow) || !classRegistered_ || window_ != 0 || width <= 0 || height <= 0)
    return 0;
  window_ = nextWindow_++;
  width_ = width;
  height_ = height;
  windowBits_ = colorBits;
  style_ = style;
  visible_ = false;
  ++windowsCreated_;
  return window_;
}

bool HeadlessPlatform::DestroyWindow(WindowHandle window) {
  Log("DestroyWindow");
  if (Failing(Step::kDestroyWindow) || window == 0 || window != window_) return false;
  window_ = 0;
  visible_ = false;
  width_ = height_ = 0;
  return true;
}

void HeadlessPlatform::ShowWindow(WindowHandle window) {
  Log("ShowWindow");
  if (window != 0 && window == window_) visible_ = true;
}

DeviceHandle HeadlessPlatform::GetDeviceContext(WindowHandle window) {
  Log("GetDeviceContext");
  if (Failing(Step::kGetDeviceContext) || window == 0 || window != window_) return 0;
  deviceHeld_ = true;
  return window;
}

bool HeadlessPlatform::ReleaseDeviceContext(WindowHandle window, DeviceHandle device) {
  Log("ReleaseDeviceContext");
  if (Failing(Step::kReleaseDeviceContext) || !deviceHeld_ || device != window) return false;
  deviceHeld_ = false;
  return true;
}

int HeadlessPlatform::ChoosePixelFormat(DeviceHandle device, const PixelFormat& format) {
  Log("ChoosePixelFormat " + std::to_string(format.colorBits));
  const uint32_t needed = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
  if (Failing(Step::kChoosePixelFormat) || !deviceHeld_ || device != window_) return 0;
  if ((format.flags & needed) != needed || format.pixelType != 0) return 0;
  return format.colorBits > 16 ? 1 : 2;  // 1: RGBA8888, 2: RGB565
}

bool HeadlessPlatform::SetPixelFormat(DeviceHandle device, int index, const PixelFormat& format) {
  Log("SetPixelFormat " + std::to_string(index));
  if (Failing(Step::kSetPixelFormat) || !deviceHeld_ || device != window_ || (index != 1 && index != 2)) {
    return false;
  }
  pixelFormat_ = index;
  formatBits_ = index == 1 ? 32 : 16;
  (void)format;
  return true;
}

ContextHandle HeadlessPlatform::CreateContext(DeviceHandle device) {
  Log("CreateContext");
  if (Failing(Step::kCreateContext) || !deviceHeld_ || device != window_ || pixelFormat_ == 0 ||
      gl_ != nullptr) {
    return 0;
  }
  auto gl = std::make_unique<HeadlessGL>();
  if (!gl->Create({width_, height_, formatBits_, 16, kContextApi})) return 0;
#ifdef LANDSCAPE_GL_LAYER
  if (!webgl::Attach(&HeadlessGL::ProcAddress)) return 0;
#endif
  gl->ReleaseCurrent();  // a new context is not current until MakeCurrent, as with WGL
  gl_ = std::move(gl);
  contextBits_ = formatBits_;
  context_ = 0x1000 + static_cast<ContextHandle>(windowsCreated_);
  current_ = false;
  return context_;
}

bool HeadlessPlatform::MakeCurrent(DeviceHandle device, ContextHandle context) {
  if (device == 0 && context == 0) {
    Log("ReleaseCurrent");
    if (Failing(Step::kReleaseCurrent)) return false;
    if (gl_ != nullptr) gl_->ReleaseCurrent();
    current_ = false;
    return true;
  }
  Log("MakeCurrent");
  if (Failing(Step::kMakeCurrent) || gl_ == nullptr || context != context_ || device != window_) return false;
  current_ = gl_->MakeCurrent();
  return current_;
}

bool HeadlessPlatform::DeleteContext(ContextHandle context) {
  Log("DeleteContext");
  if (Failing(Step::kDeleteContext) || gl_ == nullptr || context != context_) return false;
#ifdef LANDSCAPE_GL_LAYER
  webgl::Detach();
#endif
  gl_.reset();
  context_ = 0;
  contextBits_ = 0;
  current_ = false;
  pixelFormat_ = 0;
  return true;
}

bool HeadlessPlatform::SwapBuffers(DeviceHandle device) {
  if (gl_ == nullptr || device != window_ || !current_) return false;
  gl_->SwapBuffers();
  ++framesPresented_;
  if (onSwap) onSwap();
  return true;
}

int HeadlessPlatform::MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                                 uint32_t flags) {
  Log("MessageBox " + caption);
  MessageBoxRecord record{owner, text, caption, flags, 0};
  if (nextAnswer_ < answers_.size()) {
    record.answer = answers_[nextAnswer_++];
  } else if (onMessageBox) {
    record.answer = onMessageBox(record);
  } else {
    const uint32_t type = flags & MB_TYPEMASK;
    record.answer = (type == MB_YESNO || type == MB_YESNOCANCEL) ? IDYES : IDOK;
  }
  boxes_.push_back(record);
  return record.answer;
}

}  // namespace platform
