// WebPlatform: Win32-shaped operations on the page (page.js) and emscripten's html5 API.
#include "platform/web/WebPlatform.h"

#include <GL/gl.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdlib>
#include <memory>

#include "platform/webgl/Gl11.h"

namespace platform {
namespace {

EM_JS(char*, PageQueryString, (), {
  const size = lengthBytesUTF8(location.search) + 1;
  const text = _malloc(size);
  if (text) stringToUTF8(location.search, text, size);
  return text;
});
EM_JS(void, PageProblem, (const char* text), { LandscapePage.problem(UTF8ToString(text)); });
EM_JS(void, PageLog, (const char* text), { Module['printErr'](UTF8ToString(text)); });
EM_JS(void, PageStart, (int mode), { LandscapePage.start(mode); });
EM_JS(void, PageFinish, (int exitCode), { LandscapePage.finish(exitCode); });
EM_JS(double, PageTicks, (), { return LandscapePage.ticks(); });

EM_ASYNC_JS(int, PageEnterFullScreen, (), { return await LandscapePage.enterFullScreen() ? 1 : 0; });
EM_JS(void, PageExitFullScreen, (), { LandscapePage.exitFullScreen(); });
EM_JS(void, PageShowCursor, (int show), { LandscapePage.showCursor(show != 0); });

EM_JS(int, PageCreateCanvas, (int id, int width, int height, const char* title),
      { return LandscapePage.createCanvas(id, width, height, UTF8ToString(title)) ? 1 : 0; });
EM_JS(void, PageShowCanvas, (int id), { LandscapePage.showCanvas(id); });
EM_JS(void, PageRemoveCanvas, (int id), { LandscapePage.removeCanvas(id); });

EM_ASYNC_JS(int, PageShowBox, (const char* text, const char* caption, uint32_t flags, int fullScreenQuestion),
            {
              return await LandscapePage.showBox(UTF8ToString(text), UTF8ToString(caption), flags,
                                                 fullScreenQuestion != 0);
            });
EM_JS(void, PageRecordBox, (const char* text, const char* caption),
      { LandscapePage.recordBox(UTF8ToString(text), UTF8ToString(caption)); });

EM_ASYNC_JS(void, PageNextFrame, (), { await LandscapePage.nextFrame(); });
EM_ASYNC_JS(void, PageSendFrame, (int id, uint32_t wanted, uint32_t shown),
            { await LandscapePage.sendFrame(id, wanted, shown); });
EM_JS(int, PageTimingFrame, (), { return LandscapePage.timingFrame() ? 1 : 0; });
EM_JS(void, PageDispatchKey, (const char* code, const char* key, int down),
      { LandscapePage.dispatchKey(UTF8ToString(code), UTF8ToString(key), down != 0); });

EM_BOOL OnKeyEvent(int type, const EmscriptenKeyboardEvent* event, void* userData) {
  auto* platform = static_cast<WebPlatform*>(userData);
  DomKey key{VirtualKeyFromDom(event->key, event->code), type == EMSCRIPTEN_EVENT_KEYDOWN, event->repeat != 0,
             event->altKey != 0};
  return platform->OnKey(key, event->ctrlKey != 0, event->metaKey != 0) ? EM_TRUE : EM_FALSE;
}

std::string CanvasSelector(WindowHandle window) { return "#landscape-" + std::to_string(window); }

}  // namespace

std::string PageQuery() {
  std::unique_ptr<char, decltype(&std::free)> query(PageQueryString(), &std::free);
  return query ? std::string(query.get()) : std::string();
}

void ShowPageProblem(const std::string& text) { PageProblem(text.c_str()); }

WebPlatform::WebPlatform(const WebOptions& options) : options_(options), sound_(nullptr) {
  PageStart(static_cast<int>(options_.mode));
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnKeyEvent);
  emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnKeyEvent);
}

WebPlatform::~WebPlatform() {
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, nullptr);
  emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, nullptr);
  sound_.Close();
  if (context_ != 0) emscripten_webgl_destroy_context(static_cast<EMSCRIPTEN_WEBGL_CONTEXT_HANDLE>(context_));
  if (window_ != 0) PageRemoveCanvas(static_cast<int>(window_));
}

void WebPlatform::Finish(int exitCode) { PageFinish(exitCode); }

bool WebPlatform::OnKey(const DomKey& key, bool control, bool meta) {
  // Test and timing runs take only their script's keys; a box takes them while it is open.
  const bool wanted = options_.mode == WebMode::kPlay ? !boxOpen_ : scriptedKey_;
  if (!wanted || key.vk == 0 || window_ == 0) return false;
  PostMessage(KeyMessage(window_, key, plainDown_));
  return ClaimsKey(key.vk, control, meta);
}

bool WebPlatform::RegisterWindowClass() {
  if (classRegistered_) return false;  // Win32 refuses a second registration of a class
  classRegistered_ = true;
  return true;
}

bool WebPlatform::UnregisterWindowClass() {
  if (!classRegistered_ || window_ != 0) return false;  // refused while a window of the class exists
  classRegistered_ = false;
  return true;
}

// The page has no display modes: full screen stands in for one, and the browser
// grants it only while a key press or click is fresh (F1 is one).
bool WebPlatform::ChangeDisplayMode(int /*width*/, int /*height*/, int /*bits*/) {
  if (options_.mode == WebMode::kTest) return true;  // as the capture tool's screen: every mode
  if (options_.mode == WebMode::kPlay && PageEnterFullScreen() != 0) return true;
  modeRefused_ = true;
  return false;
}

void WebPlatform::RestoreDisplayMode() {
  if (options_.mode != WebMode::kTest) PageExitFullScreen();
}

void WebPlatform::ShowCursor(bool show) { PageShowCursor(show ? 1 : 0); }

WindowHandle WebPlatform::CreateWindow(const std::string& title, int width, int height, WindowStyle /*style*/,
                                       int colorBits) {
  if (!classRegistered_ || window_ != 0 || width <= 0 || height <= 0) return 0;
  // A new canvas for every window: a canvas keeps its first WebGL context for good,
  // and a re-created window must start from a fresh one.
  const WindowHandle window = nextWindow_++;
  if (PageCreateCanvas(static_cast<int>(window), width, height, title.c_str()) == 0) return 0;
  window_ = window;
  windowBits_ = colorBits;
  contextWidth_ = width;
  contextHeight_ = height;
  return window_;
}

bool WebPlatform::DestroyWindow(WindowHandle window) {
  if (!OwnWindow(window)) return false;
  PageRemoveCanvas(static_cast<int>(window));
  window_ = 0;
  windowBits_ = 0;
  return true;
}

void WebPlatform::ShowWindow(WindowHandle window) {
  if (OwnWindow(window)) PageShowCanvas(static_cast<int>(window));
}

// The canvas is its own device context.
DeviceHandle WebPlatform::GetDeviceContext(WindowHandle window) { return OwnWindow(window) ? window : 0; }

bool WebPlatform::ReleaseDeviceContext(WindowHandle window, DeviceHandle device) {
  return device != 0 && device == window && OwnWindow(window);
}

int WebPlatform::ChoosePixelFormat(DeviceHandle device, const PixelFormat& format) {
  const uint32_t needed = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
  if (!OwnWindow(device) || (format.flags & needed) != needed || format.pixelType != 0) return 0;
  return format.colorBits == windowBits_ ? 1 : 0;  // the window was made for one depth
}

// WebGL offers 8 bits per channel and at least 16 bits of depth whatever is asked.
bool WebPlatform::SetPixelFormat(DeviceHandle device, int index, const PixelFormat& /*format*/) {
  return OwnWindow(device) && index == 1;
}

ContextHandle WebPlatform::CreateContext(DeviceHandle device) {
  if (!OwnWindow(device) || context_ != 0) return 0;
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.alpha = EM_FALSE;
  attributes.depth = EM_TRUE;
  attributes.stencil = EM_FALSE;
  attributes.antialias = EM_FALSE;
  attributes.preserveDrawingBuffer = EM_FALSE;
  attributes.powerPreference = EM_WEBGL_POWER_PREFERENCE_HIGH_PERFORMANCE;
  attributes.majorVersion = 2;
  attributes.minorVersion = 0;
  const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
      emscripten_webgl_create_context(CanvasSelector(device).c_str(), &attributes);
  if (context <= 0) return 0;
  context_ = static_cast<ContextHandle>(context);
  return context_;
}

// GL 1.1 reaches WebGL through our layer, which takes over the context made current.
bool WebPlatform::MakeCurrent(DeviceHandle device, ContextHandle context) {
  if (device == 0 && context == 0) {
    webgl::Detach();
    return emscripten_webgl_make_context_current(0) == EMSCRIPTEN_RESULT_SUCCESS;
  }
  if (!OwnWindow(device) || context == 0 || context != context_) return false;
  if (emscripten_webgl_make_context_current(static_cast<EMSCRIPTEN_WEBGL_CONTEXT_HANDLE>(context)) !=
      EMSCRIPTEN_RESULT_SUCCESS) {
    return false;
  }
  if (!webgl::Attach()) {  // the shell's box reports the failure; the reason goes to the console
    PageLog(("The GL layer cannot use this WebGL 2 context: " + webgl::LastError()).c_str());
    return false;
  }
  return true;
}

bool WebPlatform::DeleteContext(ContextHandle context) {
  if (context == 0 || context != context_) return false;
  webgl::Detach();
  emscripten_webgl_destroy_context(static_cast<EMSCRIPTEN_WEBGL_CONTEXT_HANDLE>(context));
  context_ = 0;
  return true;
}

bool WebPlatform::SwapBuffers(DeviceHandle device) {
  if (!OwnWindow(device)) return false;
  glFlush();  // the layer batches its draws; the frame must be complete when the page shows it
  switch (options_.mode) {
    case WebMode::kTest:
      PresentTestFrame();
      break;
    case WebMode::kTiming:
      if (PageTimingFrame() != 0) PostMessage({window_, WM_CLOSE, 0, 0});
      PageNextFrame();
      break;
    case WebMode::kPlay:
      PageNextFrame();
      break;
  }
  return true;
}

void WebPlatform::PumpEvents() {
  if (options_.mode == WebMode::kTest && !framePrepared_) PrepareTestFrame();
}

// Before each frame, as the capture tool does it: the clock moves to the frame's time
// (start-up and the first frame are at 0; an F1 restart happens at the time of the
// frame before it), the keys of the previous frame come up, this frame's go down. The
// keys travel as DOM events, so the page's own key handling is what delivers them.
void WebPlatform::PrepareTestFrame() {
  framePrepared_ = true;
  if (framePresented_) {
    framePresented_ = false;
    ++frame_;
    virtualTicks_ = static_cast<uint32_t>(frame_ * 1000u / static_cast<uint64_t>(options_.fps));
  }
  scriptedKey_ = true;
  for (const std::string& code : heldKeys_) PageDispatchKey(code.c_str(), DomKeyForCode(code).c_str(), 0);
  heldKeys_.clear();
  for (; nextKey_ < options_.keys.size() && options_.keys[nextKey_].timeMs <= virtualTicks_; ++nextKey_) {
    const std::string& code = options_.keys[nextKey_].code;
    PageDispatchKey(code.c_str(), DomKeyForCode(code).c_str(), 1);
    heldKeys_.push_back(code);
  }
  scriptedKey_ = false;
}

// Hands out the frame when it is the first at or after the next wanted time, and
// closes the window after the last one unless the run plays on to the end.
void WebPlatform::PresentTestFrame() {
  if (nextTime_ < options_.times.size() && virtualTicks_ >= options_.times[nextTime_]) {
    PageSendFrame(static_cast<int>(window_), options_.times[nextTime_], virtualTicks_);
    if (++nextTime_ == options_.times.size() && !options_.toEnd) PostMessage({window_, WM_CLOSE, 0, 0});
  }
  framePrepared_ = false;
  framePresented_ = true;
  PageNextFrame();
}

int WebPlatform::MessageBox(WindowHandle /*owner*/, const std::string& text, const std::string& caption,
                            uint32_t flags) {
  const uint32_t type = flags & MB_TYPEMASK;
  const bool fullScreenQuestion = modeRefused_ && type == MB_YESNO;
  modeRefused_ = false;
  PageRecordBox(text.c_str(), caption.c_str());
  // Test and timing runs answer as the capture tool does: Yes to a question, else OK.
  if (options_.mode == WebMode::kTest || (options_.mode == WebMode::kTiming && !fullScreenQuestion)) {
    return type == MB_YESNO || type == MB_YESNOCANCEL ? IDYES : IDOK;
  }
  boxOpen_ = true;
  const int answer = PageShowBox(text.c_str(), caption.c_str(), flags, fullScreenQuestion ? 1 : 0);
  boxOpen_ = false;
  return answer;
}

uint32_t WebPlatform::GetTickCount() {
  if (options_.mode == WebMode::kTest) return virtualTicks_;
  return static_cast<uint32_t>(static_cast<uint64_t>(PageTicks()));  // wraps like GetTickCount
}

}  // namespace platform
