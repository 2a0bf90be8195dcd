// Test support: a fixture owning a headless GL context; includes the scratch-folder and feedback helpers
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/HeadlessGL.h"
#include "support/FeedbackPolygons.h"
#include "support/Scratch.h"

namespace testsupport {

// Fresh context per test, so GL state never leaks from one test into the next.
class GLTest : public ::testing::Test {
 protected:
  explicit GLTest(int width = 256, int height = 256) : width_(width), height_(height) {}
  void SetUp() override { ASSERT_TRUE(gl_.Create({width_, height_})) << gl_.LastError(); }
  void TearDown() override { gl_.Destroy(); }

  // RGBA bytes of the whole framebuffer, bottom row first (as glReadPixels gives them).
  std::vector<unsigned char> ReadPixels() const {
    std::vector<unsigned char> pixels(static_cast<size_t>(width_) * height_ * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  }
  // The RGBA bytes of pixel (x, y) of ReadPixels' result, y counted from the bottom.
  const unsigned char* PixelAt(const std::vector<unsigned char>& pixels, int x, int y) const {
    return &pixels[(static_cast<size_t>(y) * width_ + x) * 4];
  }

  platform::HeadlessGL gl_;
  int width_, height_;
};

}  // namespace testsupport
