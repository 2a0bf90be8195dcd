// The run folder's pictures read as the demo reads them: depths and sizes, what each must show, the font
// sheet
#include <IL/il.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>

#include "image/Image.h"
#include "image/Jpeg.h"
#include "support/Scratch.h"

using testsupport::RunDir;

namespace {

constexpr int kCell = 16;  // font sheet pixels; 16 x 16 cells make the 256 x 256 picture

bool IsPowerOfTwo(uint32_t n) { return n != 0 && (n & (n - 1)) == 0; }

// A BMP through the demo's reader: tight rows, bottom row first, bytes in file order.
struct Bitmap {
  Image image;
  explicit Bitmap(const char* name) { image.LoadBitmap((RunDir() / name).string(), {}); }
  int At(uint32_t x, uint32_t y, int c) const {
    return image.Pixels()[(size_t(y) * image.Width() + x) * 3 + c];
  }
  // Mean of each byte of the 24-bit pixels over the rows [from, to).
  std::array<double, 3> Means(uint32_t from, uint32_t to) const {
    std::array<double, 3> sum{};
    for (uint32_t y = from; y < to; ++y)
      for (uint32_t x = 0; x < image.Width(); ++x)
        for (int c = 0; c < 3; ++c) sum[c] += At(x, y, c) / (double(to - from) * image.Width());
    return sum;
  }
};

}  // namespace

TEST(Pictures, BitmapsHaveTheDepthsAndSizesTheDemoReadsAndTheHeightmapIsALandscape) {
  const std::tuple<const char*, uint32_t, uint32_t> cases[] = {
      // size 0: any power of two
      {"data/terrain/TerrainData4.bmp", 8, 256}, {"data/gfx/large/tex0.bmp", 24, 256},
      {"data/gfx/large/tex1.bmp", 24, 256},      {"data/gfx/large/tex2.bmp", 24, 256},
      {"data/gfx/large/tex3.bmp", 24, 256},      {"data/gfx/skybox/sky.bmp", 24, 0},
      {"data/gfx/skybox/stone.bmp", 24, 0}};
  for (const auto& [name, bits, size] : cases) {
    const Bitmap b(name);
    EXPECT_EQ(std::tuple(b.image.Bits(), b.image.Height()), std::tuple(bits, b.image.Width())) << name;
    EXPECT_TRUE(size == 0 ? IsPowerOfTwo(b.image.Width()) : b.image.Width() == size) << name;
  }
  // The heightmap's palette is a grey ramp, so that viewers show heights as they are.
  const auto file = testsupport::ReadFile(RunDir() / "data/terrain/TerrainData4.bmp");
  ASSERT_GE(file.size(), 54u + 1024);
  for (int i = 0; i < 256 * 4; ++i) ASSERT_EQ(file[54 + i], i % 4 == 3 ? file[54 + i] : i / 4) << i;
  // The heightmap is a landscape with every band and no cliff.
  const Bitmap b("data/terrain/TerrainData4.bmp");
  ASSERT_EQ(b.image.Size(), 65536u);
  const unsigned char* h = b.image.Pixels();
  const auto [low, high] = std::minmax_element(h, h + 65536);
  EXPECT_TRUE(*low <= 5 && *high >= 250) << int(*low) << " " << int(*high);
  EXPECT_GT(std::set<unsigned char>(h, h + 65536).size(), 200u);
  std::array<int, 4> bands{};  // shore, grass, rock, snow
  for (int i = 0; i < 65536; ++i) ++bands[h[i] / 64];
  EXPECT_GT(*std::min_element(bands.begin(), bands.end()), 300);
  // Not noise: neighbours differ little on average. No slope so steep (about 53 degrees at 1.6 units a
  // cell and 15/256 a level) that a face turned from the sun would need a shade below zero.
  double step = 0;
  int steepest = 0;
  for (int i = 0; i < 255 * 256; ++i) {
    const int right = i % 256 == 255 ? 0 : std::abs(h[i] - h[i + 1]);
    step += right / (255.0 * 255.0);
    steepest = std::max({steepest, right, std::abs(h[i] - h[i + 256])});
  }
  EXPECT_LT(step, 6.0);
  EXPECT_LT(steepest, 36);
}

TEST(Pictures, LayersSkyAndFloorShowTheirColoursTheWayTheDemoUploadsThem) {
  // Layers are stored blue first: the coast is mostly sunlit land and sand, the grass green, the snow bright.
  const auto coast = Bitmap("data/gfx/large/tex0.bmp").Means(0, 256);
  const auto grass = Bitmap("data/gfx/large/tex1.bmp").Means(0, 256);
  const auto snow = Bitmap("data/gfx/large/tex3.bmp").Means(0, 256);
  EXPECT_GT(coast[2], coast[0] + 40);
  EXPECT_GT(grass[1], std::max(grass[0] + 30, grass[2] + 10));
  EXPECT_GT(std::min({snow[0], snow[1], snow[2]}), 190);
  // The sky box uploads its bytes as they stand as red, green, blue: the sky (upper rows) must read blue
  // in the third byte, the sea below the horizon bluish and darker at the foot, the floor open sea.
  const Bitmap sky("data/gfx/skybox/sky.bmp"), stone("data/gfx/skybox/stone.bmp");
  const uint32_t n = sky.image.Height();
  const auto top = sky.Means(n * 3 / 4, n), foot = sky.Means(0, n / 8), upper = sky.Means(n * 7 / 8, n);
  const auto floor = stone.Means(0, stone.image.Height());
  EXPECT_GT(top[2], top[0] + 60);
  EXPECT_GT(foot[2], foot[0] + 15);
  EXPECT_GT(upper[2], foot[2] + 30);
  EXPECT_GT(floor[2], floor[0] + 20);
  EXPECT_GT(floor[1], floor[0]);
  // The side faces meet left edge to right edge: the picture repeats sideways.
  double jump = 0, inside = 0;
  for (uint32_t y = 0; y < n; ++y)
    for (int c = 0; c < 3; ++c)
      jump += std::abs(sky.At(0, y, c) - sky.At(n - 1, y, c)),
          inside += std::abs(sky.At(0, y, c) - sky.At(1, y, c));
  EXPECT_LE(jump, 2.0 * inside + n);
}

TEST(Pictures, JpegsAreBaselineColourPowerOfTwoAndTheGlowASoftDisc) {
  for (const char* name : {"particle.jpg", "torus.jpg", "bg1.jpg", "ttex_1.jpg", "ttex_2.jpg"}) {
    unsigned width = 0, height = 0, bits = 0;
    EXPECT_TRUE(LoadJpeg((RunDir() / "textures" / name).string(), width, height, bits)) << name;
    EXPECT_TRUE(IsPowerOfTwo(width) && IsPowerOfTwo(height)) << name;
    EXPECT_TRUE(std::string(name) != "torus.jpg" || width * height == 256 * 256);
    // The first frame header (marker segments walked from the start) is baseline with three
    // components, and the file ends with its end marker.
    const auto f = testsupport::ReadFile(RunDir() / "textures" / name);
    size_t at = 2;
    while (at + 10 < f.size() && f[at] == 0xFF && (f[at + 1] < 0xC0 || f[at + 1] > 0xCF || f[at + 1] == 0xC4))
      at += 2 + (f[at + 2] << 8 | f[at + 3]);
    ASSERT_LT(at + 10, f.size()) << name;
    EXPECT_EQ(std::tuple(f[at + 1], f[at + 9], f[f.size() - 2], f.back()), std::tuple(0xC0, 3, 0xFF, 0xD9))
        << name;
  }
  // The glow: bright centre (the particle texture keeps red above 30), black rim (dropped), a disc not a dot.
  unsigned w = 0, h = 0, bits = 0;
  const auto glow = LoadJpeg((RunDir() / "textures/particle.jpg").string(), w, h, bits);
  ASSERT_TRUE(glow);
  const auto red = [&](unsigned x, unsigned y) { return glow[(size_t(y) * w + x) * 4]; };
  EXPECT_GT(std::min(red(w / 2, h / 2), red(w / 2 + w / 4, h / 2)), 30);
  EXPECT_GT(red(w / 2, h / 2), 200);
  EXPECT_LE(std::max(red(0, 0), red(w - 1, h / 2)), 30);
}

TEST(Pictures, ConsolePanelIsAnRgbaPngWithRoundedCornersAndALightTextLane) {
  ilInit();
  const ILuint image = ilGenImage();
  ilBindImage(image);
  ASSERT_TRUE(ilLoadImage((RunDir() / "data/textures/console.png").c_str()));
  const auto w = uint32_t(ilGetInteger(IL_IMAGE_WIDTH)), h = uint32_t(ilGetInteger(IL_IMAGE_HEIGHT));
  EXPECT_TRUE(IsPowerOfTwo(w) && IsPowerOfTwo(h));
  std::vector<unsigned char> rgba(size_t(w) * h * 4);
  ilCopyPixels(0, 0, 0, w, h, 1, IL_RGBA, IL_UNSIGNED_BYTE, rgba.data());
  ilDeleteImage(image);
  const auto at = [&](uint32_t x, uint32_t y, int c) { return rgba[(size_t(y) * w + x) * 4 + c]; };
  EXPECT_EQ(at(0, 0, 3) + at(w - 1, h - 1, 3), 0);  // rounded corners: the file has alpha
  EXPECT_GT(at(w / 2, h / 2, 3), 200);
  // Rows come top first, as PNG stores them. The scrollers show the picture's top at the panel's top: a dark
  // vignette there. The dark scrolling text crosses the lower half (t = 0.2 .. 0.5 for the window sizes the
  // demo opens): the plate is light there.
  double darkest = 255, band[2] = {};
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x) {
      const double luma = (at(x, y, 0) * 3 + at(x, y, 1) * 6 + at(x, y, 2)) / 10.0;
      if (y >= h / 2 && y < h * 8 / 10 && x >= w * 22 / 100 && x < w * 77 / 100)
        darkest = std::min(darkest, luma);
      if (y >= h * 15 / 100 && y < h * 30 / 100) band[0] += luma / (w * (h * 30 / 100 - h * 15 / 100));
      if (y >= h * 55 / 100 && y < h * 75 / 100) band[1] += luma / (w * (h * 75 / 100 - h * 55 / 100));
    }
  EXPECT_GT(darkest, 150);
  EXPECT_LT(band[0], band[1] - 50);
}

TEST(Pictures, FontIsAnUncompressed32BitBottomUpSheetOfWhiteAntiAliasedUprightGlyphs) {
  const auto file = testsupport::ReadFile(RunDir() / "data/font/Font.tga");
  ASSERT_EQ(file.size(), 18u + 256 * 256 * 4);
  // The alpha of glyph c's rows [rowFrom, rowTo), rows counted from the top of the upright cell (the file
  // stores the picture bottom row first).
  const auto ink = [&](int c, int rowFrom = 0, int rowTo = kCell) {
    int sum = 0;
    for (int y = (c / 16) * kCell + rowFrom; y < (c / 16) * kCell + rowTo; ++y)
      for (int x = (c % 16) * kCell; x < (c % 16 + 1) * kCell; ++x)
        sum += file[18 + (size_t(255 - y) * 256 + x) * 4 + 3];
    return sum;
  };
  // No ID field or colour map, uncompressed true colour, 256 x 256, 32 bits with 8 of alpha, bottom-up.
  const std::vector<unsigned char> header = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 32, 8};
  EXPECT_EQ(std::vector<unsigned char>(file.begin(), file.begin() + 18), header);
  // White glyphs with soft edges (not a one-bit font), and a one-pixel gutter round every cell that keeps
  // filtering from bleeding between glyphs.
  int partial = 0, gutter = 0;
  for (int i = 0; i < 256 * 256; ++i) {
    const unsigned char* p = &file[18 + size_t(i) * 4];
    ASSERT_EQ(p[0] & p[1] & p[2], 255) << i;
    partial += p[3] > 0 && p[3] < 255;
    const int x = i % kCell, y = i / 256 % kCell;
    gutter += (x == 0 || x == kCell - 1 || y == 0 || y == kCell - 1) * p[3];
  }
  EXPECT_GT(partial, 1000);
  EXPECT_EQ(gutter, 0);
  for (int c = 0; c < 256; ++c) EXPECT_EQ(ink(c) > 255 * 2, c > 32 && c < 127) << c;
  EXPECT_GT(ink('\\'), 255 * 8);  // the printer draws stray escapes with it
  // '_' sits low in its cell and the bar of 'T' high: the picture is stored the right way up.
  EXPECT_GT(ink('_', 10, 16), 4 * ink('_', 0, 10));
  EXPECT_GT(ink('T', 0, 6), ink('T', 6, 16));
}
