// Test support: the headless GL fixture
#include "support/GLTest.h"

#include <GL/gl.h>

namespace testsupport {

void GLTest::SetUp() {
  platform::HeadlessGLOptions options;
  options.width = width_;
  options.height = height_;
  ASSERT_TRUE(gl_.Create(options)) << gl_.LastError();
}

void GLTest::TearDown() { gl_.Destroy(); }

std::vector<unsigned char> GLTest::ReadPixels() const {
  std::vector<unsigned char> pixels(static_cast<size_t>(width_) * height_ * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

}  // namespace testsupport
