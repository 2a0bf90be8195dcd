// GlPair: one GL call sequence run by Mesa's desktop GL (the reference) and by the layer on an ES 3 context
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/HeadlessGL.h"
#include "platform/webgl/Gl11.h"

namespace webgltest {

// The GL functions the cases call, from one implementation or the other.
// (clang-format lays this list out differently on every run.)
// clang-format off
#define WEBGL_TEST_CALLS(X)                                                                         \
  X(Begin) X(End) X(Vertex2f) X(Vertex3f) X(Color3f) X(Color4f) X(Color4fv) X(TexCoord2f)           \
  X(TexCoord2fv) X(Normal3f) X(EnableClientState) X(VertexPointer) X(ColorPointer) X(TexCoordPointer)\
  X(DrawElements) X(PushClientAttrib) X(PopClientAttrib) X(GenTextures) X(BindTexture)              \
  X(DeleteTextures) X(TexImage2D) X(TexParameteri) X(TexParameterf) X(TexEnvi) X(TexEnvf)          \
  X(MatrixMode) X(PushMatrix) X(PopMatrix) X(Translatef) X(Rotatef) X(Scalef) X(MultMatrixf)        \
  X(Ortho) X(GetFloatv) X(Enable) X(Disable) X(PolygonMode) X(ShadeModel) X(FrontFace) X(CullFace)  \
  X(BlendFunc) X(AlphaFunc) X(LightModelfv) X(Lightfv) X(Hint) X(Scissor) X(Viewport) X(Clear)      \
  X(ClearColor) X(PushAttrib) X(PopAttrib) X(PixelStorei) X(ReadPixels) X(GetError)
// clang-format on

struct Gl {
#define WEBGL_TEST_MEMBER(name) decltype(&::gl##name) name;
  WEBGL_TEST_CALLS(WEBGL_TEST_MEMBER)
#undef WEBGL_TEST_MEMBER
  // gluPerspective; the reference multiplies GL's own glFrustum of the same volume.
  void (*Perspective)(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);
};

inline decltype(&::glFrustum) referenceFrustum = nullptr;

class GlPair : public ::testing::Test {
 public:
  static constexpr int kSize = 64;

 protected:
  void SetUp() override {
    ASSERT_TRUE(desktop_.Create({kSize, kSize, 32, 16, platform::GLApi::kDesktop})) << desktop_.LastError();
#define WEBGL_TEST_LOAD(name) \
  reference_.name =           \
      reinterpret_cast<decltype(reference_.name)>(platform::HeadlessGL::ProcAddress("gl" #name));
    WEBGL_TEST_CALLS(WEBGL_TEST_LOAD)
#undef WEBGL_TEST_LOAD
    referenceFrustum =
        reinterpret_cast<decltype(referenceFrustum)>(platform::HeadlessGL::ProcAddress("glFrustum"));
    reference_.Perspective = [](GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
      const double top = zNear * std::tan(fovy * M_PI / 360.0);
      referenceFrustum(-top * aspect, top * aspect, -top, top, zNear, zFar);
    };
    ASSERT_TRUE(es_.Create({kSize, kSize, 32, 16, platform::GLApi::kEs3})) << es_.LastError();
    ASSERT_TRUE(webgl::Attach(&platform::HeadlessGL::ProcAddress)) << webgl::LastError();
#define WEBGL_TEST_TAKE(name) layer_.name = &::gl##name;
    WEBGL_TEST_CALLS(WEBGL_TEST_TAKE)
#undef WEBGL_TEST_TAKE
    layer_.Perspective = &::gluPerspective;
  }
  void TearDown() override {
    webgl::Detach();
    es_.Destroy();
    desktop_.Destroy();
  }

  // Runs `calls` on the reference (side 0) or the layer (side 1) with its context current.
  void On(int side, const std::function<void(const Gl&)>& calls) {
    ASSERT_TRUE(side == 0 ? desktop_.MakeCurrent() : es_.MakeCurrent());
    calls(side == 0 ? reference_ : layer_);
  }

 private:
  Gl reference_{}, layer_{};
  platform::HeadlessGL desktop_, es_;
};

}  // namespace webgltest
