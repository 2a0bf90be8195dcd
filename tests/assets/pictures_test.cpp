// The JPEG and PNG pictures: baseline JPEGs of power-of-two sizes, and the panel a PNG with alpha
#include <IL/il.h>
#include <gtest/gtest.h>

#include "RunFolder.h"

using namespace assettest;

namespace {

struct JpegInfo {
  bool baseline = false;
  uint32_t width = 0, height = 0, components = 0;
};

// Walks the marker segments up to the first start-of-frame.
JpegInfo ParseJpeg(const std::vector<unsigned char>& f) {
  JpegInfo info;
  if (f.size() < 4 || f[0] != 0xFF || f[1] != 0xD8) return info;
  size_t at = 2;
  while (at + 4 <= f.size() && f[at] == 0xFF) {
    unsigned marker = f[at + 1];
    size_t length = (f[at + 2] << 8) | f[at + 3];
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
      if (at + 10 > f.size()) return info;
      info.baseline = marker == 0xC0;
      info.height = (f[at + 5] << 8) | f[at + 6];
      info.width = (f[at + 7] << 8) | f[at + 8];
      info.components = f[at + 9];
      return info;
    }
    at += 2 + length;
  }
  return info;
}

}  // namespace

TEST(Pictures, JpegsAreBaselineColourPowerOfTwo) {
  for (const char* name : {"particle.jpg", "torus.jpg", "bg1.jpg", "ttex_1.jpg", "ttex_2.jpg"}) {
    SCOPED_TRACE(name);
    auto file = ReadAll(RunDir() / "textures" / name);
    JpegInfo info = ParseJpeg(file);
    EXPECT_TRUE(info.baseline);
    EXPECT_EQ(info.components, 3u);
    EXPECT_TRUE(IsPowerOfTwo(info.width));
    EXPECT_TRUE(IsPowerOfTwo(info.height));
    ASSERT_GE(file.size(), 2u);
    EXPECT_EQ(file[file.size() - 2], 0xFF);  // ends with EOI
    EXPECT_EQ(file[file.size() - 1], 0xD9);
  }
  JpegInfo torus = ParseJpeg(ReadAll(RunDir() / "textures/torus.jpg"));
  EXPECT_EQ(torus.width, 256u);
  EXPECT_EQ(torus.height, 256u);
}

TEST(Pictures, ConsolePanelIsAnRgbaPngWithALightTextLane) {
  auto file = ReadAll(RunDir() / "data/textures/console.png");
  ASSERT_GT(file.size(), 33u);
  const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  ASSERT_TRUE(std::equal(signature, signature + 8, file.begin()));
  auto be32 = [&](size_t at) {
    return uint32_t(file[at]) << 24 | file[at + 1] << 16 | file[at + 2] << 8 | file[at + 3];
  };
  uint32_t width = be32(16), height = be32(20);
  EXPECT_TRUE(IsPowerOfTwo(width));
  EXPECT_TRUE(IsPowerOfTwo(height));
  EXPECT_EQ(file[24], 8);  // bits per channel
  EXPECT_EQ(file[25], 6);  // RGBA

  ilInit();
  ILuint image = 0;
  ilGenImages(1, &image);
  ilBindImage(image);
  ilEnable(IL_ORIGIN_SET);
  ilOriginFunc(IL_ORIGIN_UPPER_LEFT);
  ASSERT_TRUE(ilLoadImage((RunDir() / "data/textures/console.png").c_str()));
  ASSERT_EQ(uint32_t(ilGetInteger(IL_IMAGE_WIDTH)), width);
  std::vector<unsigned char> rgba(size_t(width) * height * 4);
  ilCopyPixels(0, 0, 0, width, height, 1, IL_RGBA, IL_UNSIGNED_BYTE, rgba.data());
  ilDeleteImages(1, &image);
  auto pixel = [&](uint32_t x, uint32_t y) { return &rgba[(size_t(y) * width + x) * 4]; };
  EXPECT_EQ(pixel(0, 0)[3], 0);  // rounded corners are transparent
  EXPECT_EQ(pixel(width - 1, height - 1)[3], 0);
  EXPECT_GT(pixel(width / 2, height / 2)[3], 200);
  // The dark scrolling text crosses the panel's lower half (at t = 0.2 .. 0.5 for the window
  // sizes the demo opens): there the plate must be light.
  int darkest = 255;
  for (uint32_t y = height / 2; y < height * 8 / 10; ++y) {
    for (uint32_t x = width * 22 / 100; x < width * 77 / 100; ++x) {
      const unsigned char* p = pixel(x, y);
      darkest = std::min(darkest, (p[0] * 3 + p[1] * 6 + p[2]) / 10);
    }
  }
  EXPECT_GT(darkest, 150);
}
