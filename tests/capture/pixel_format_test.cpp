// The headless context's pixel format is the one asked for
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>

#include "platform/HeadlessGL.h"

namespace {

// Red, green, blue bits (alpha is not part of the demo's request).
std::array<GLint, 3> ColourBits(int color_bits) {
  platform::HeadlessGL gl;
  platform::HeadlessGLOptions options;
  options.width = 8;
  options.height = 8;
  options.colorBits = color_bits;
  EXPECT_TRUE(gl.Create(options)) << gl.LastError();
  std::array<GLint, 3> bits = {-1, -1, -1};
  glGetIntegerv(GL_RED_BITS, &bits[0]);
  glGetIntegerv(GL_GREEN_BITS, &bits[1]);
  glGetIntegerv(GL_BLUE_BITS, &bits[2]);
  return bits;
}

TEST(PixelFormatTest, ThirtyTwoBitsAreEightPerChannel) {
  EXPECT_EQ(ColourBits(32), (std::array<GLint, 3>{8, 8, 8}));
}

TEST(PixelFormatTest, SixteenBitsAreFiveSixFive) {
  EXPECT_EQ(ColourBits(16), (std::array<GLint, 3>{5, 6, 5}));
}

}  // namespace
