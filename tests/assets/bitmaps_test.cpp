// The BMP files of the run folder: headers, the heightmap's range and the layers' colour order
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>

#include "RunFolder.h"

using namespace assettest;

namespace {

struct Means {
  double byte0 = 0, byte1 = 0, byte2 = 0;
};

// Average of each byte position of the 24-bit pixels in the file rows [firstRow, lastRow).
Means ByteMeans(const std::vector<unsigned char>& file, const BmpInfo& info, int firstRow, int lastRow) {
  Means m;
  size_t row = (size_t(info.width) * 3 + 3) & ~size_t(3);
  size_t n = 0;
  for (int y = firstRow; y < lastRow; ++y) {
    for (int x = 0; x < info.width; ++x, ++n) {
      size_t at = info.pixelOffset + y * row + x * 3;
      m.byte0 += file[at];
      m.byte1 += file[at + 1];
      m.byte2 += file[at + 2];
    }
  }
  m.byte0 /= n;
  m.byte1 /= n;
  m.byte2 /= n;
  return m;
}

}  // namespace

TEST(Bitmaps, HeightmapIsAn8BitGreyBottomUp256Square) {
  auto file = ReadAll(RunDir() / "data/terrain/TerrainData4.bmp");
  BmpInfo info = ParseBmp(file);
  ASSERT_TRUE(info.valid);
  EXPECT_EQ(info.width, 256);
  EXPECT_EQ(info.height, 256);  // positive: bottom row first
  EXPECT_EQ(info.bits, 8u);
  EXPECT_EQ(info.compression, 0u);
  EXPECT_EQ(info.imageSize, 256u * 256u);  // tight rows, a multiple of 4 bytes
  for (int i = 0; i < 256; ++i) {
    size_t at = 54 + 4 * i;
    ASSERT_EQ(file[at], i);
    ASSERT_EQ(file[at + 1], i);
    ASSERT_EQ(file[at + 2], i);
  }
}

TEST(Bitmaps, HeightmapUsesTheWholeRangeWithPlainsAndPeaks) {
  auto file = ReadAll(RunDir() / "data/terrain/TerrainData4.bmp");
  BmpInfo info = ParseBmp(file);
  ASSERT_TRUE(info.valid);
  std::vector<unsigned char> h(file.begin() + info.pixelOffset, file.end());
  ASSERT_EQ(h.size(), 65536u);
  auto [low, high] = std::minmax_element(h.begin(), h.end());
  EXPECT_LE(*low, 5);
  EXPECT_GE(*high, 250);
  std::set<unsigned char> levels(h.begin(), h.end());
  EXPECT_GT(levels.size(), 200u);
  // Every height band of the layers is present: shore, grass, rock, snow.
  std::array<int, 4> bands{};
  for (unsigned char v : h) ++bands[std::min(3, v / 64)];
  for (int count : bands) EXPECT_GT(count, 300);
  // Not noise: neighbours differ by little on average (a landscape, not static).
  double step = 0;
  for (int y = 0; y < 256; ++y)
    for (int x = 1; x < 256; ++x) step += std::abs(int(h[y * 256 + x]) - int(h[y * 256 + x - 1]));
  EXPECT_LT(step / (256 * 255), 6.0);
  // No slope so steep (over about 53 degrees at 1.6 units a cell and 15/256 a level) that a
  // face turned from the sun would need a shade below zero.
  int steepest = 0;
  for (int y = 0; y < 255; ++y) {
    for (int x = 0; x < 255; ++x) {
      int v = h[y * 256 + x];
      steepest = std::max({steepest, std::abs(v - h[y * 256 + x + 1]), std::abs(v - h[(y + 1) * 256 + x])});
    }
  }
  EXPECT_LT(steepest, 36);
}

TEST(Bitmaps, LayersAre24BitBlueFirst256Squares) {
  for (const char* name : {"tex0", "tex1", "tex2", "tex3"}) {
    SCOPED_TRACE(name);
    auto file = ReadAll(RunDir() / "data/gfx/large" / (std::string(name) + ".bmp"));
    BmpInfo info = ParseBmp(file);
    ASSERT_TRUE(info.valid);
    EXPECT_EQ(info.width, 256);
    EXPECT_EQ(info.height, 256);
    EXPECT_EQ(info.bits, 24u);
    EXPECT_EQ(info.compression, 0u);
    EXPECT_EQ(info.imageSize, 256u * 256u * 3u);
  }
  // Blue-green-red order: the coast layer is mostly sunlit land and sand (red above blue),
  // grass green, snow bright.
  auto coast = ReadAll(RunDir() / "data/gfx/large/tex0.bmp");
  Means s = ByteMeans(coast, ParseBmp(coast), 0, 256);
  EXPECT_GT(s.byte2, s.byte0 + 40);
  auto grass = ReadAll(RunDir() / "data/gfx/large/tex1.bmp");
  Means g = ByteMeans(grass, ParseBmp(grass), 0, 256);
  EXPECT_GT(g.byte1, g.byte0 + 30);
  EXPECT_GT(g.byte1, g.byte2 + 10);
  auto snow = ReadAll(RunDir() / "data/gfx/large/tex3.bmp");
  Means w = ByteMeans(snow, ParseBmp(snow), 0, 256);
  EXPECT_GT(std::min({w.byte0, w.byte1, w.byte2}), 190);
}

TEST(Bitmaps, SkyFacesArePowerOfTwoSquaresStoredRedFirst) {
  for (const char* name : {"sky.bmp", "stone.bmp"}) {
    SCOPED_TRACE(name);
    auto file = ReadAll(RunDir() / "data/gfx/skybox" / name);
    BmpInfo info = ParseBmp(file);
    ASSERT_TRUE(info.valid);
    EXPECT_EQ(info.width, info.height);
    EXPECT_TRUE(IsPowerOfTwo(uint32_t(info.width)));
    EXPECT_EQ(info.bits, 24u);
    EXPECT_EQ(info.compression, 0u);
  }
  // The box uploads the bytes as they stand as red, green, blue: the sky's upper half (the last
  // rows of a bottom-up file) must then read blue in the third byte.
  auto sky = ReadAll(RunDir() / "data/gfx/skybox/sky.bmp");
  BmpInfo info = ParseBmp(sky);
  Means top = ByteMeans(sky, info, info.height * 3 / 4, info.height);
  EXPECT_GT(top.byte2, top.byte0 + 60);
  // The faces meet left edge to right edge: the picture repeats sideways.
  size_t row = size_t(info.width) * 3;
  double jump = 0, inside = 0;
  for (int y = 0; y < info.height; ++y) {
    size_t first = info.pixelOffset + y * row, last = first + row - 3;
    for (int c = 0; c < 3; ++c) {
      jump += std::abs(int(sky[first + c]) - int(sky[last + c]));
      inside += std::abs(int(sky[first + 3 + c]) - int(sky[first + c]));
    }
  }
  EXPECT_LE(jump, 2.0 * inside + info.height);
}
