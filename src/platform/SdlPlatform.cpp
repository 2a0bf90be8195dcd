// SdlPlatform: Win32-shaped operations on SDL2.
#include "platform/SdlPlatform.h"

#include <SDL.h>

#include <cstdio>
#include <ctime>
#include <memory>

#include "platform/SdlAudioSink.h"
#include "platform/internal/SdlKeys.h"

namespace platform {
namespace {

// SDL counts 24-bit true colour as 24 bits per pixel; Win32 asks for 32.
bool DepthMatches(int requested, Uint32 format) {
  const int bits = SDL_BITSPERPIXEL(format);
  if (requested == 32) return bits == 24 || bits == 32;
  return bits == requested;
}

void SetGlAttributes(int colorBits) {
  const bool deep = colorBits > 16;
  SDL_GL_ResetAttributes();
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, deep ? 8 : 5);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, deep ? 8 : 6);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, deep ? 8 : 5);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

Uint32 MessageBoxIcon(uint32_t flags) {
  switch (flags & MB_ICONMASK) {
    case MB_ICONSTOP:
      return SDL_MESSAGEBOX_ERROR;
    case MB_ICONEXCLAMATION:
      return SDL_MESSAGEBOX_WARNING;
    case MB_ICONQUESTION:
    case MB_ICONINFORMATION:
      return SDL_MESSAGEBOX_INFORMATION;
    default:
      return 0;
  }
}

}  // namespace

SdlPlatform::SdlPlatform() : sound_(std::make_unique<SdlAudioSink>()) {}

SdlPlatform::~SdlPlatform() {
  sound_.Close();
  if (window_ != 0) DestroyWindow(window_);
  if (videoUp_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  SDL_Quit();
}

void* SdlPlatform::Window(WindowHandle handle) const {
  if (handle == 0 || handle != window_) return nullptr;
  return SDL_GetWindowFromID(static_cast<Uint32>(handle));
}

bool SdlPlatform::RegisterWindowClass() {
  if (classRegistered_) return false;  // Win32 refuses a second registration of a class
  if (!videoUp_) {
    // Win32 stops the screen saver through WM_SYSCOMMAND, which the window procedure
    // swallows; SDL's equivalent is to keep it disabled while video is up.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
    videoUp_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (!videoUp_) return false;
    SDL_StopTextInput();
  }
  classRegistered_ = true;
  return true;
}

// Video stays up until the backend goes: shutting it down and bringing it back on
// every F1 costs time and leaves some GL drivers without a usable context.
bool SdlPlatform::UnregisterWindowClass() {
  if (!classRegistered_ || window_ != 0) return false;  // Win32 refuses while a window of the class exists
  classRegistered_ = false;
  return true;
}

bool SdlPlatform::ChangeDisplayMode(int width, int height, int bits) {
  mode_ = {};
  if (!videoUp_) return false;
  const int count = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode{};
    if (SDL_GetDisplayMode(0, i, &mode) != 0) continue;
    if (mode.w == width && mode.h == height && DepthMatches(bits, mode.format)) {
      // Modes come sorted best first: the highest refresh rate of this size wins.
      mode_ = {true, mode.w, mode.h, static_cast<int>(mode.format), mode.refresh_rate};
      return true;
    }
  }
  return false;
}

void SdlPlatform::RestoreDisplayMode() {
  if (auto* window = static_cast<SDL_Window*>(Window(window_))) SDL_SetWindowFullscreen(window, 0);
  mode_ = {};
}

void SdlPlatform::ShowCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

WindowHandle SdlPlatform::CreateWindow(const std::string& title, int width, int height, WindowStyle style,
                                       int colorBits) {
  if (!classRegistered_ || window_ != 0 || width <= 0 || height <= 0) return 0;
  SetGlAttributes(colorBits);
  Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
  const bool fullscreen = style == WindowStyle::kPopup && mode_.pending;
  if (style == WindowStyle::kPopup) flags |= SDL_WINDOW_BORDERLESS;
  if (fullscreen) flags |= SDL_WINDOW_FULLSCREEN;
  if (style == WindowStyle::kFramed) flags |= SDL_WINDOW_RESIZABLE;
  SDL_Window* window = SDL_CreateWindow(title.c_str(), 0, 0, width, height, flags);
  if (window == nullptr) return 0;
  if (fullscreen) {
    SDL_DisplayMode mode{static_cast<Uint32>(mode_.format), mode_.width, mode_.height, mode_.refresh,
                         nullptr};
    SDL_SetWindowDisplayMode(window, &mode);
  }
  window_ = SDL_GetWindowID(window);
  windowColorBits_ = colorBits;
  return window_;
}

bool SdlPlatform::DestroyWindow(WindowHandle handle) {
  auto* window = static_cast<SDL_Window*>(Window(handle));
  if (window == nullptr) return false;
  SDL_DestroyWindow(window);
  window_ = 0;
  windowColorBits_ = 0;
  return true;
}

void SdlPlatform::ShowWindow(WindowHandle handle) {
  auto* window = static_cast<SDL_Window*>(Window(handle));
  if (window == nullptr) return;
  SDL_ShowWindow(window);
  SDL_RaiseWindow(window);
  SDL_SetWindowInputFocus(window);
}

// The window's own device context is the window itself.
DeviceHandle SdlPlatform::GetDeviceContext(WindowHandle window) { return Window(window) ? window : 0; }

bool SdlPlatform::ReleaseDeviceContext(WindowHandle window, DeviceHandle device) {
  return device != 0 && device == window && Window(window) != nullptr;
}

int SdlPlatform::ChoosePixelFormat(DeviceHandle device, const PixelFormat& format) {
  const uint32_t needed = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
  if (Window(device) == nullptr || (format.flags & needed) != needed || format.pixelType != 0) return 0;
  // The window was made for one colour depth; only that format is on offer.
  return format.colorBits == windowColorBits_ ? 1 : 0;
}

bool SdlPlatform::SetPixelFormat(DeviceHandle device, int index, const PixelFormat& format) {
  if (Window(device) == nullptr || index != 1) return false;
  SetGlAttributes(format.colorBits);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, format.depthBits);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, (format.flags & PFD_DOUBLEBUFFER) != 0 ? 1 : 0);
  return true;
}

ContextHandle SdlPlatform::CreateContext(DeviceHandle device) {
  auto* window = static_cast<SDL_Window*>(Window(device));
  if (window == nullptr) return 0;
  SDL_GLContext previous = SDL_GL_GetCurrentContext();
  SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
  SDL_GLContext context = SDL_GL_CreateContext(window);
  // SDL makes a new context current; wglCreateContext does not, so undo that.
  SDL_GL_MakeCurrent(previousWindow, previous);
  return reinterpret_cast<ContextHandle>(context);
}

bool SdlPlatform::MakeCurrent(DeviceHandle device, ContextHandle context) {
  if (device == 0 && context == 0) return SDL_GL_MakeCurrent(nullptr, nullptr) == 0;
  auto* window = static_cast<SDL_Window*>(Window(device));
  if (window == nullptr || context == 0) return false;
  if (SDL_GL_MakeCurrent(window, reinterpret_cast<SDL_GLContext>(context)) != 0) return false;
  SDL_GL_SetSwapInterval(0);  // the loop has no frame limiter
  return true;
}

bool SdlPlatform::DeleteContext(ContextHandle context) {
  if (context == 0) return false;
  SDL_GL_DeleteContext(reinterpret_cast<SDL_GLContext>(context));
  return true;
}

bool SdlPlatform::SwapBuffers(DeviceHandle device) {
  auto* window = static_cast<SDL_Window*>(Window(device));
  if (window == nullptr) return false;
  SDL_GL_SwapWindow(window);
  return true;
}

int SdlPlatform::MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                            uint32_t flags) {
  const uint32_t type = flags & MB_TYPEMASK;
  SDL_MessageBoxButtonData ok[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK, "OK"}};
  SDL_MessageBoxButtonData okCancel[] = {{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDOK, "OK"},
                                         {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDCANCEL, "Cancel"}};
  SDL_MessageBoxButtonData yesNo[] = {{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
                                      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"}};
  SDL_MessageBoxButtonData yesNoCancel[] = {{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
                                            {0, IDNO, "No"},
                                            {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDCANCEL, "Cancel"}};
  SDL_MessageBoxData box{};
  box.flags = MessageBoxIcon(flags);
  box.window = static_cast<SDL_Window*>(Window(owner));
  box.title = caption.c_str();
  box.message = text.c_str();
  switch (type) {
    case MB_OKCANCEL:
      box.buttons = okCancel;
      box.numbuttons = 2;
      break;
    case MB_YESNO:
      box.buttons = yesNo;
      box.numbuttons = 2;
      break;
    case MB_YESNOCANCEL:
      box.buttons = yesNoCancel;
      box.numbuttons = 3;
      break;
    default:
      box.buttons = ok;
      box.numbuttons = 1;
      break;
  }
  int answer = 0;
  if (SDL_ShowMessageBox(&box, &answer) != 0) {
    // No way to show it (no display): say it on the terminal; the box failed, as
    // a Win32 MessageBox does, with 0.
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return 0;
  }
  return answer < 0 ? (type == MB_OK ? IDOK : IDCANCEL) : answer;  // closed without a button
}

uint32_t SdlPlatform::GetTickCount() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const uint64_t ms =
      static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<uint32_t>(ms);  // wraps after 49.7 days, as GetTickCount does
}

void SdlPlatform::PumpEvents() {
  if (!videoUp_) return;
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    switch (event.type) {
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        TranslateKey(&event);
        break;
      case SDL_WINDOWEVENT:
        TranslateWindowEvent(&event);
        break;
      case SDL_QUIT:
        PostMessage({window_, WM_CLOSE, 0, 0});
        break;  // window closed, or a signal
      default:
        break;
    }
  }
}

void SdlPlatform::TranslateKey(const void* raw) {
  const auto& key = static_cast<const SDL_Event*>(raw)->key;
  const uint32_t vk = VirtualKeyFromSdl(key.keysym.sym);
  if (vk == 0) return;
  const bool down = key.type == SDL_KEYDOWN;
  const bool alt = (key.keysym.mod & KMOD_ALT) != 0 || vk == VK_MENU;
  // What Windows sends as system keys: anything with Alt held, and F10.
  const bool system = alt || vk == VK_F10;
  intptr_t lParam = 1 | (static_cast<intptr_t>(key.keysym.scancode & 0xFF) << 16);
  if (alt) lParam |= KF_ALTDOWN_BIT;
  if (key.repeat != 0 || !down) lParam |= KF_REPEAT_BIT;
  if (!down) lParam |= KF_UP_BIT;
  // A key that went down as a plain key comes up as one even if Alt was pressed in
  // between; Win32 would send WM_SYSKEYUP and leave the key's flag stuck down.
  const bool plainUp = !down && plainDown_[vk];
  plainDown_[vk] = down && !system;
  const uint32_t message =
      down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system && !plainUp ? WM_SYSKEYUP : WM_KEYUP);
  PostMessage({window_, message, vk, lParam});
}

void SdlPlatform::TranslateWindowEvent(const void* raw) {
  const auto& window = static_cast<const SDL_Event*>(raw)->window;
  auto* sdlWindow = static_cast<SDL_Window*>(Window(window_));
  if (sdlWindow == nullptr || window.windowID != window_) return;
  const bool minimised = (SDL_GetWindowFlags(sdlWindow) & SDL_WINDOW_MINIMIZED) != 0;
  const uintptr_t minimisedWord = minimised ? uintptr_t{1} << 16 : 0;
  int width = 0, height = 0;
  SDL_GL_GetDrawableSize(sdlWindow, &width, &height);
  switch (window.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      PostMessage(
          {window_, WM_SIZE, 0, MakeLParam(static_cast<uint32_t>(width), static_cast<uint32_t>(height))});
      break;
    case SDL_WINDOWEVENT_MINIMIZED:
      PostMessage({window_, WM_SIZE, 1, 0});  // SIZE_MINIMIZED, 0 x 0
      PostMessage({window_, WM_ACTIVATE, WA_INACTIVE | (uintptr_t{1} << 16), 0});
      break;
    case SDL_WINDOWEVENT_RESTORED:
      PostMessage({window_, WM_ACTIVATE, WA_ACTIVE, 0});
      PostMessage(
          {window_, WM_SIZE, 0, MakeLParam(static_cast<uint32_t>(width), static_cast<uint32_t>(height))});
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      PostMessage({window_, WM_ACTIVATE, WA_ACTIVE | minimisedWord, 0});
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      PostMessage({window_, WM_ACTIVATE, WA_INACTIVE | minimisedWord, 0});
      break;
    default:
      break;
  }
}

}  // namespace platform
