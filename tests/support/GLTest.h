// Test support: a fixture owning a headless GL context, and a scratch folder for test files
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/HeadlessGL.h"

namespace testsupport {

// Fresh context per test, so GL state never leaks from one test into the next.
class GLTest : public ::testing::Test {
 protected:
  explicit GLTest(int width = 256, int height = 256) : width_(width), height_(height) {}
  void SetUp() override;
  void TearDown() override;

  // RGBA bytes of the whole framebuffer, bottom row first (as glReadPixels gives them).
  std::vector<unsigned char> ReadPixels() const;

  platform::HeadlessGL gl_;
  int width_;
  int height_;
};

// Runs `draw` in GL_FEEDBACK mode (GL_3D_COLOR_TEXTURE) and returns the raw buffer.
std::vector<float> CaptureFeedback(const std::function<void()>& draw, size_t capacity = 1 << 16);

// A per-test empty folder below the suite's scratch root ($LANDSCAPE_TEST_TMP or /tmp).
std::filesystem::path ScratchDir();

void WriteFile(const std::filesystem::path& path, const std::vector<unsigned char>& bytes);

}  // namespace testsupport
