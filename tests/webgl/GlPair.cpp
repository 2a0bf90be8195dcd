// GlPair: both contexts, both function tables, and the picture comparison.
#include "GlPair.h"

#include <GL/glu.h>

#include <cmath>
#include <cstdlib>

#include "platform/webgl/Gl11.h"

namespace webgltest {
namespace {

decltype(&::glFrustum) referenceFrustum = nullptr;

void ReferencePerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
  const double top = zNear * std::tan(fovy * M_PI / 360.0);
  referenceFrustum(-top * aspect, top * aspect, -top, top, zNear, zFar);
}

}  // namespace

void GlPair::SetUp() {
  ASSERT_TRUE(desktop_.Create({kSize, kSize, 32, 16, platform::GLApi::kDesktop})) << desktop_.LastError();
#define WEBGL_TEST_LOAD(name) \
  reference_.name =           \
      reinterpret_cast<decltype(reference_.name)>(platform::HeadlessGL::ProcAddress("gl" #name));
  WEBGL_TEST_CALLS(WEBGL_TEST_LOAD)
#undef WEBGL_TEST_LOAD
  referenceFrustum =
      reinterpret_cast<decltype(referenceFrustum)>(platform::HeadlessGL::ProcAddress("glFrustum"));
  reference_.Perspective = &ReferencePerspective;
  ASSERT_TRUE(es_.Create({kSize, kSize, 32, 16, platform::GLApi::kEs3})) << es_.LastError();
  ASSERT_TRUE(webgl::Attach(&platform::HeadlessGL::ProcAddress)) << webgl::LastError();
#define WEBGL_TEST_TAKE(name) layer_.name = &::gl##name;
  WEBGL_TEST_CALLS(WEBGL_TEST_TAKE)
#undef WEBGL_TEST_TAKE
  layer_.Perspective = &::gluPerspective;
}

void GlPair::TearDown() {
  webgl::Detach();
  es_.Destroy();
  desktop_.Destroy();
}

void GlPair::OnReference(const std::function<void(const Gl&)>& calls) {
  ASSERT_TRUE(desktop_.MakeCurrent());
  calls(reference_);
}

void GlPair::OnLayer(const std::function<void(const Gl&)>& calls) {
  ASSERT_TRUE(es_.MakeCurrent());
  calls(layer_);
}

void GlPair::Draw(const std::function<void(const Gl&)>& scene, std::vector<uint8_t>* reference,
                  std::vector<uint8_t>* layer) {
  auto run = [&scene](std::vector<uint8_t>* pixels) {
    return [&scene, pixels](const Gl& gl) {
      gl.ClearColor(0, 0, 0, 1);
      gl.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
      scene(gl);
      pixels->assign(kSize * kSize * 4, 0);
      gl.PixelStorei(GL_PACK_ALIGNMENT, 1);
      gl.ReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, pixels->data());
    };
  };
  OnReference(run(reference));
  OnLayer(run(layer));
}

Difference Compare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  Difference d;
  long total = 0;
  for (size_t i = 0; i + 3 < a.size() && i + 3 < b.size(); i += 4) {
    int worst = 0;
    for (size_t k = 0; k < 3; ++k) {
      const int diff = std::abs(a[i + k] - b[i + k]);
      total += diff;
      worst = std::max(worst, diff);
    }
    if (worst > 48) ++d.wrong;
  }
  d.mean = a.empty() ? 0 : static_cast<double>(total) / static_cast<double>(a.size() / 4 * 3);
  return d;
}

}  // namespace webgltest
