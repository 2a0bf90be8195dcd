// Test support: a fixture owning a headless GL context; includes the scratch-folder and feedback helpers
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "platform/HeadlessGL.h"
#include "support/FeedbackPolygons.h"
#include "support/Scratch.h"

namespace testsupport {

// Fresh context per test, so GL state never leaks from one test into the next.
class GLTest : public ::testing::Test {
 protected:
  explicit GLTest(int width = 256, int height = 256) : width_(width), height_(height) {}
  void SetUp() override;
  void TearDown() override;

  // RGBA bytes of the whole framebuffer, bottom row first (as glReadPixels gives them).
  std::vector<unsigned char> ReadPixels() const;
  // The RGBA bytes of pixel (x, y) of ReadPixels' result, y counted from the bottom.
  const unsigned char* PixelAt(const std::vector<unsigned char>& pixels, int x, int y) const {
    return &pixels[(static_cast<size_t>(y) * width_ + x) * 4];
  }

  platform::HeadlessGL gl_;
  int width_;
  int height_;
};

}  // namespace testsupport
