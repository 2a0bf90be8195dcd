// The DevIL stand-in's picture headers and upload layout.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/web/devil/DevilImage.h"
#include "support/TestJpeg.h"

using enum devil::ImageKind;
using Bytes = std::vector<unsigned char>;
using testsupport::EncodeJpeg;

// Chunks without data: length, type, CRC (not checked).
static const std::string kPlte("\0\0\0\0PLTE\0\0\0\0", 12), kTrns("\0\0\0\0tRNS\0\0\0\0", 12),
    kIdat("\0\0\0\0IDAT\0\0\0\0", 12);

// A PNG signature and IHDR (width x 258), then the given chunks.
static Bytes Png(unsigned char colourType, const std::string& chunks = "", uint32_t width = 513) {
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  for (uint32_t v : {width, 258u})
    for (int shift : {24, 16, 8, 0}) png.push_back(static_cast<unsigned char>(v >> shift));
  png.insert(png.end(), {8, colourType, 0, 0, 0, 0, 0, 0, 0});
  png.insert(png.end(), chunks.begin(), chunks.end());
  return png;
}

TEST(DevilImageTest, HeadersGiveKindSizeAndTheChannelsDevilKeeps) {
  const Bytes pixels(513 * 258 * 3, 128), png = Png(2);
  const Bytes jpeg = EncodeJpeg(pixels.data(), 513, 258, false, 90);
  // Palette PNGs have alpha only when transparency comes before the data (or the file ends).
  // clang-format off
  const std::tuple<Bytes, devil::ImageKind, int> known[] = {
      {Png(0), kPng, 1}, {png, kPng, 3}, {Png(3, kPlte + kIdat), kPng, 3}, {Png(4), kPng, 2},
      {Png(6), kPng, 4}, {Png(3, kPlte + kTrns + kIdat), kPng, 4}, {Png(3, kPlte + kIdat + kTrns), kPng, 3},
      {Png(3), kPng, 3}, {jpeg, kJpeg, 3}, {EncodeJpeg(pixels.data(), 513, 258, true, 90), kJpeg, 1}};
  // Colour type 5, empty, a bitmap, a JPEG cut before its frame header, empty and over-large PNGs, a PNG
  // cut in its header, a JPEG scan before any frame, a segment longer than the file.
  const Bytes unknown[] = {Png(5), {}, {'B', 'M', 0, 0, 0, 0}, Bytes(jpeg.begin(), jpeg.begin() + 20),
                           Png(2, "", 0), Png(2, "", 16385), Bytes(png.begin(), png.end() - 10),
                           {0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x02}, {0xFF, 0xD8, 0xFF, 0xE0, 0xFF, 0xFF}};
  // clang-format on
  for (const auto& [file, kind, channels] : known) {
    const auto l = devil::ProbeImageLayout(file.data(), file.size());
    EXPECT_EQ(std::tuple(l.kind, l.width, l.height, l.channels), std::tuple(kind, 513u, 258u, channels));
  }
  for (const Bytes& file : unknown)
    EXPECT_EQ(devil::ProbeImageLayout(file.data(), file.size()).kind, kUnknown) << &file - unknown;
}

TEST(DevilImageTest, PackingKeepsThePicturesChannelsBottomRowFirst) {
  // 2 x 2 RGBA, top row first: (r, g, b, a) = (10 * pixel + channel). Grey is red; 0 and 5 channels do not
  // exist.
  const Bytes rgba = {0, 1, 2, 3, 10, 11, 12, 13, 20, 21, 22, 23, 30, 31, 32, 33};
  // clang-format off
  const Bytes packed[] = {{}, {20, 30, 0, 10}, {20, 23, 30, 33, 0, 3, 10, 13},
                          {20, 21, 22, 30, 31, 32, 0, 1, 2, 10, 11, 12},
                          {20, 21, 22, 23, 30, 31, 32, 33, 0, 1, 2, 3, 10, 11, 12, 13}, {}};
  // clang-format on
  for (int channels = 0; channels <= 5; ++channels)
    EXPECT_EQ(devil::PackBottomUp(rgba, 2, 2, channels), packed[channels]) << channels;
  EXPECT_TRUE(devil::PackBottomUp(rgba, 2, 3, 4).empty());  // fewer pixels than the size says
}
