// The DevIL stand-in's picture headers and upload layout.
#include <gtest/gtest.h>

#include <vector>

#include "platform/web/devil/DevilImage.h"
#include "support/TestJpeg.h"

namespace {

using devil::ImageKind;
using devil::PackBottomUp;
using devil::ProbeImageLayout;
using Bytes = std::vector<unsigned char>;

Bytes MakeTestJpeg(unsigned width, unsigned height, bool grey) {
  const Bytes pixels(size_t{width} * height * (grey ? 1 : 3), 128);
  return testsupport::EncodeJpeg(pixels.data(), width, height, grey, 90);
}

void Put32(Bytes& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(v >> shift));
}

// A PNG signature and IHDR (the CRC is not checked), plus optional chunk types after it.
Bytes PngHeader(uint32_t width, uint32_t height, unsigned char colourType,
                std::vector<const char*> chunks = {}) {
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Put32(png, 13);
  png.insert(png.end(), {'I', 'H', 'D', 'R'});
  Put32(png, width);
  Put32(png, height);
  png.insert(png.end(), {8, colourType, 0, 0, 0, 0, 0, 0, 0});
  for (const char* type : chunks) {
    Put32(png, 0);
    png.insert(png.end(), type, type + 4);
    Put32(png, 0);
  }
  return png;
}

TEST(DevilImageTest, PngChannelsAsDevilKeepsThem) {
  const struct {
    unsigned char colourType;
    std::vector<const char*> chunks;
    int channels;
  } cases[] = {
      {0, {}, 1}, {2, {}, 3}, {3, {"PLTE", "IDAT"}, 3},         {3, {"PLTE", "tRNS", "IDAT"}, 4},
      {4, {}, 2}, {6, {}, 4}, {3, {"PLTE", "IDAT", "tRNS"}, 3},  // transparency after the data does not count
      {5, {}, 0},                                                // no such colour type
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.colourType));
    const Bytes png = PngHeader(512, 256, c.colourType, c.chunks);
    const auto layout = ProbeImageLayout(png.data(), png.size());
    EXPECT_EQ(layout.channels, c.channels);
    if (c.channels == 0) continue;
    EXPECT_EQ(layout.kind, ImageKind::kPng);
    EXPECT_EQ(layout.width, 512u);
    EXPECT_EQ(layout.height, 256u);
  }
}

TEST(DevilImageTest, JpegFrameHeaderGivesSizeAndChannels) {
  for (const bool grey : {false, true}) {
    SCOPED_TRACE(grey);
    const Bytes jpeg = MakeTestJpeg(17, 9, grey);
    const auto layout = ProbeImageLayout(jpeg.data(), jpeg.size());
    EXPECT_EQ(layout.kind, ImageKind::kJpeg);
    EXPECT_EQ(layout.width, 17u);
    EXPECT_EQ(layout.height, 9u);
    EXPECT_EQ(layout.channels, grey ? 1 : 3);
  }
}

TEST(DevilImageTest, AnythingElseIsUnknown) {
  const Bytes jpeg = MakeTestJpeg(8, 8, false);
  const Bytes png = PngHeader(16, 16, 2);
  const Bytes cases[] = {
      {},
      {'B', 'M', 0, 0, 0, 0},                  // a bitmap
      Bytes(jpeg.begin(), jpeg.begin() + 20),  // cut before the frame header
      PngHeader(0, 16, 2),                     // empty
      PngHeader(16385, 16, 2),                 // over-large
      Bytes(png.begin(), png.end() - 10),      // cut header
      {0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x02},    // scan before any frame
      {0xFF, 0xD8, 0xFF, 0xE0, 0xFF, 0xFF},    // segment longer than the file
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(ProbeImageLayout(cases[i].data(), cases[i].size()).kind, ImageKind::kUnknown);
  }
}

TEST(DevilImageTest, PackingKeepsThePicturesChannelsBottomRowFirst) {
  // 2 x 2 RGBA, top row first: (r, g, b, a) = (10 * pixel + channel).
  Bytes rgba;
  for (int pixel = 0; pixel < 4; ++pixel) {
    for (int channel = 0; channel < 4; ++channel)
      rgba.push_back(static_cast<unsigned char>(10 * pixel + channel));
  }
  const struct {
    int channels;
    Bytes packed;
  } cases[] = {
      {1, {20, 30, 0, 10}},
      {2, {20, 23, 30, 33, 0, 3, 10, 13}},
      {3, {20, 21, 22, 30, 31, 32, 0, 1, 2, 10, 11, 12}},
      {4, {20, 21, 22, 23, 30, 31, 32, 33, 0, 1, 2, 3, 10, 11, 12, 13}},
      {0, {}},
      {5, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.channels);
    EXPECT_EQ(PackBottomUp(rgba, 2, 2, c.channels), c.packed);
  }
  EXPECT_TRUE(PackBottomUp(rgba, 2, 3, 4).empty());  // fewer pixels than the size says
}

}  // namespace
