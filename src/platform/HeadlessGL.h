// HeadlessGL: an offscreen OpenGL context on EGL: desktop GL, or OpenGL ES 3 for the GL layer
#pragma once

#include <string>

// An offscreen OpenGL context (EGL, surfaceless Mesa display, pbuffer surface): desktop GL in its
// compatibility profile, or OpenGL ES 3 for the builds that draw through the engine's own GL 1.1 layer.
// Used by the tests and by headless rendering.

namespace platform {

enum class GLApi { kDesktop, kEs3 };

struct HeadlessGLOptions {
  int width = 256;  // pbuffer size in pixels
  int height = 256;
  int colorBits = 32;  // 32: RGBA8888, 16: RGB565
  int depthBits = 16;
  GLApi api = GLApi::kDesktop;
};

class HeadlessGL {
 public:
  HeadlessGL() = default;
  ~HeadlessGL();
  HeadlessGL(const HeadlessGL&) = delete;
  HeadlessGL& operator=(const HeadlessGL&) = delete;

  // Creates the display, surface and context and makes them current.
  // False with LastError() set when any EGL step fails.
  bool Create(const HeadlessGLOptions& options = {});
  void Destroy();
  bool MakeCurrent();
  // Leaves no context current on this thread (the context itself stays).
  bool ReleaseCurrent();
  bool SwapBuffers();
  bool IsCreated() const { return context_ != nullptr; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::string& LastError() const { return error_; }
  // A GL or ES function of the current context by name (eglGetProcAddress).
  static void* ProcAddress(const char* name);

 private:
  void* display_ = nullptr;  // EGLDisplay
  void* surface_ = nullptr;  // EGLSurface
  void* context_ = nullptr;  // EGLContext
  int width_ = 0;
  int height_ = 0;
  std::string error_;
};

}  // namespace platform
