// GlPair: one GL call sequence run by Mesa's desktop GL (the reference) and by the layer on an ES 3 context
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/HeadlessGL.h"

namespace webgltest {

// The GL functions the cases call, from one implementation or the other.
// (clang-format lays this list out differently on every run.)
// clang-format off
#define WEBGL_TEST_CALLS(X)                                                                         \
  X(Begin) X(End) X(Vertex2f) X(Vertex3f) X(Color3f) X(Color4f) X(Color4fv) X(TexCoord2f)           \
  X(TexCoord2fv) X(TexCoord2i) X(Normal3f) X(EnableClientState) X(DisableClientState)               \
  X(VertexPointer) X(ColorPointer) X(TexCoordPointer) X(DrawElements) X(PushClientAttrib)           \
  X(PopClientAttrib) X(GenTextures) X(BindTexture) X(DeleteTextures) X(TexImage2D)                  \
  X(TexParameteri) X(TexParameterf) X(TexEnvi) X(TexEnvf) X(MatrixMode) X(LoadIdentity)             \
  X(PushMatrix) X(PopMatrix) X(Translatef) X(Rotatef) X(Scalef) X(MultMatrixf) X(Ortho)             \
  X(GetFloatv) X(GetIntegerv) X(Enable) X(Disable) X(IsEnabled) X(PolygonMode) X(ShadeModel)        \
  X(FrontFace) X(CullFace) X(BlendFunc) X(AlphaFunc) X(LightModelfv) X(Lightfv) X(Hint) X(Scissor)  \
  X(Viewport) X(Clear) X(ClearColor) X(PushAttrib) X(PopAttrib) X(PixelStorei) X(ReadPixels)        \
  X(Finish) X(GetError)
// clang-format on

struct Gl {
#define WEBGL_TEST_MEMBER(name) decltype(&::gl##name) name;
  WEBGL_TEST_CALLS(WEBGL_TEST_MEMBER)
#undef WEBGL_TEST_MEMBER
  // gluPerspective; the reference multiplies GL's own glFrustum of the same volume.
  void (*Perspective)(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);
};

struct Difference {
  double mean = 0;  // mean absolute difference of red, green and blue, 0 to 255
  int wrong = 0;    // pixels with a channel off by more than 48
};

class GlPair : public ::testing::Test {
 public:
  static constexpr int kSize = 64;

 protected:
  void SetUp() override;
  void TearDown() override;

  // Draws `scene` on both (after a clear to black) and returns the RGBA pictures, bottom row first.
  void Draw(const std::function<void(const Gl&)>& scene, std::vector<uint8_t>* reference,
            std::vector<uint8_t>* layer);
  // Runs `calls` on one implementation with its context current.
  void OnReference(const std::function<void(const Gl&)>& calls);
  void OnLayer(const std::function<void(const Gl&)>& calls);

  Gl reference_{};
  Gl layer_{};

 private:
  platform::HeadlessGL desktop_, es_;
};

Difference Compare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b);

}  // namespace webgltest
