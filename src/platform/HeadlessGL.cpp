// HeadlessGL: EGL surfaceless display + pbuffer + a desktop GL compatibility or an ES 3 context.
#include "platform/HeadlessGL.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>

namespace platform {
namespace {

std::string EglError(const char* step) {
  char text[96];
  std::snprintf(text, sizeof text, "%s failed (EGL error 0x%04X)", step, eglGetError());
  return text;
}

EGLDisplay OpenSurfacelessDisplay() {
  auto getPlatformDisplay =
      reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (getPlatformDisplay != nullptr) {
    EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display != EGL_NO_DISPLAY) return display;
  }
  return eglGetDisplay(EGL_DEFAULT_DISPLAY);
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
  const bool deep = options.colorBits > 16;
  const bool es3 = options.api == GLApi::kEs3;
  const EGLint renderable = es3 ? EGL_OPENGL_ES3_BIT : EGL_OPENGL_BIT;
  const EGLint configAttribs[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, renderable,
                                  EGL_RED_SIZE,     deep ? 8 : 5,    EGL_GREEN_SIZE,      deep ? 8 : 6,
                                  EGL_BLUE_SIZE,    deep ? 8 : 5,    EGL_DEPTH_SIZE,      options.depthBits,
                                  EGL_NONE};
  // EGL sorts deeper colour first (a 16-bit request would get 10-bit channels); take
  // the first config whose channels are exactly the ones asked for, if there is one.
  EGLConfig configs[64];
  EGLint count = 0;
  EGLConfig config = nullptr;
  if (eglChooseConfig(display, configAttribs, configs, 64, &count) && count > 0) {
    config = configs[0];
    for (EGLint i = 0; i < count; ++i) {
      EGLint red = 0, green = 0, blue = 0;
      eglGetConfigAttrib(display, configs[i], EGL_RED_SIZE, &red);
      eglGetConfigAttrib(display, configs[i], EGL_GREEN_SIZE, &green);
      eglGetConfigAttrib(display, configs[i], EGL_BLUE_SIZE, &blue);
      if (red == (deep ? 8 : 5) && green == (deep ? 8 : 6) && blue == (deep ? 8 : 5)) {
        config = configs[i];
        break;
      }
    }
  }
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
  if (!eglBindAPI(es3 ? EGL_OPENGL_ES_API : EGL_OPENGL_API)) {
    error_ = EglError("eglBindAPI");
    Destroy();
    return false;
  }
  // Desktop: no attributes, a compatibility-profile context, so GL 1.1 immediate mode works.
  const EGLint es3Attribs[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_NONE};
  context_ = eglCreateContext(display, config, EGL_NO_CONTEXT, es3 ? es3Attribs : nullptr);
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
  return display_ != nullptr &&
         eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT) == EGL_TRUE;
}

bool HeadlessGL::SwapBuffers() {
  return surface_ != nullptr && eglSwapBuffers(display_, surface_) == EGL_TRUE;
}

void* HeadlessGL::ProcAddress(const char* name) { return reinterpret_cast<void*>(eglGetProcAddress(name)); }

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
