// HeadlessGL: EGL surfaceless display + pbuffer + desktop GL compatibility context.
#include "platform/HeadlessGL.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace platform {
namespace {

std::string EglError(const char* step) {
  char text[96];
  std::snprintf(text, sizeof text, "%s failed (EGL error 0x%04X)", step, eglGetError());
  return text;
}

EGLDisplay OpenSurfacelessDisplay() {
  auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (getPlatformDisplay != nullptr) {
    EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display != EGL_NO_DISPLAY) return display;
  }
  return eglGetDisplay(EGL_DEFAULT_DISPLAY);
}

EGLint Attribute(EGLDisplay display, EGLConfig config, EGLint name) {
  EGLint value = 0;
  eglGetConfigAttrib(display, config, name, &value);
  return value;
}

// The pixel format asked for: 8 bits per channel with alpha for 32-bit colour, 5-6-5 for
// 16, and the depth size closest above the request. eglChooseConfig alone would sort
// deeper colour first and hand out a 10-bit format, which renders and reads back
// differently (and several times slower) than the 32-bit format the demo asks for.
EGLConfig ChooseConfig(EGLDisplay display, const HeadlessGLOptions& options) {
  const EGLint attribs[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                            EGL_DEPTH_SIZE, options.depthBits, EGL_NONE};
  EGLint count = 0;
  if (!eglChooseConfig(display, attribs, nullptr, 0, &count) || count < 1) return nullptr;
  std::vector<EGLConfig> configs(static_cast<size_t>(count));
  eglChooseConfig(display, attribs, configs.data(), count, &count);
  const bool deep = options.colorBits > 16;
  const EGLint wanted[4] = {deep ? 8 : 5, deep ? 8 : 6, deep ? 8 : 5, deep ? 8 : 0};
  EGLConfig best = nullptr;
  long bestScore = 0;
  for (EGLint i = 0; i < count; ++i) {
    const EGLint names[4] = {EGL_RED_SIZE, EGL_GREEN_SIZE, EGL_BLUE_SIZE, EGL_ALPHA_SIZE};
    long score = 0;
    for (int c = 0; c < 4; ++c) score += 1000L * std::abs(Attribute(display, configs[i], names[c]) - wanted[c]);
    score += Attribute(display, configs[i], EGL_DEPTH_SIZE) - options.depthBits;
    score += Attribute(display, configs[i], EGL_STENCIL_SIZE);
    if (best == nullptr || score < bestScore) {
      best = configs[i];
      bestScore = score;
    }
  }
  return best;
}

}  // namespace

HeadlessGL::~HeadlessGL() { Destroy(); }

bool HeadlessGL::Create(const HeadlessGLOptions& options) {
  Destroy();
  EGLDisplay display = OpenSurfacelessDisplay();
  if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) {
    error_ = EglError("eglInitialize");
    return false;
  }
  display_ = display;
  EGLConfig config = ChooseConfig(display, options);
  if (config == nullptr) {
    error_ = EglError("eglChooseConfig");
    Destroy();
    return false;
  }
  const EGLint surfaceAttribs[] = {EGL_WIDTH, options.width, EGL_HEIGHT, options.height, EGL_NONE};
  surface_ = eglCreatePbufferSurface(display, config, surfaceAttribs);
  if (surface_ == EGL_NO_SURFACE) {
    surface_ = nullptr;
    error_ = EglError("eglCreatePbufferSurface");
    Destroy();
    return false;
  }
  if (!eglBindAPI(EGL_OPENGL_API)) {
    error_ = EglError("eglBindAPI");
    Destroy();
    return false;
  }
  // No attributes: a compatibility-profile context, so GL 1.1 immediate mode works.
  context_ = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
  if (context_ == EGL_NO_CONTEXT) {
    context_ = nullptr;
    error_ = EglError("eglCreateContext");
    Destroy();
    return false;
  }
  width_ = options.width;
  height_ = options.height;
  if (!MakeCurrent()) {
    error_ = EglError("eglMakeCurrent");
    Destroy();
    return false;
  }
  return true;
}

bool HeadlessGL::MakeCurrent() {
  return context_ != nullptr && eglMakeCurrent(display_, surface_, surface_, context_) == EGL_TRUE;
}

bool HeadlessGL::ReleaseCurrent() {
  return display_ != nullptr && eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT) == EGL_TRUE;
}

bool HeadlessGL::SwapBuffers() {
  return surface_ != nullptr && eglSwapBuffers(display_, surface_) == EGL_TRUE;
}

void HeadlessGL::Destroy() {
  if (display_ == nullptr) return;
  eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (context_ != nullptr) eglDestroyContext(display_, context_);
  if (surface_ != nullptr) eglDestroySurface(display_, surface_);
  // The display is shared process-wide by EGL; terminating it would pull it from
  // under any other live context, so it is left initialised.
  context_ = surface_ = display_ = nullptr;
  width_ = height_ = 0;
}

}  // namespace platform
