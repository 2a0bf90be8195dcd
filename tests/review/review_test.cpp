// The review tool's figures and sheet: luma mean and spread, the box filter, tile placement.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <tuple>

#include "review/ContactSheet.h"
#include "review/FrameStats.h"

using review::FrameImage;
using Rgb = std::array<uint8_t, 3>;

// Left half one colour, right half another.
static FrameImage Halves(int w, int h, Rgb left, Rgb right) {
  FrameImage image(w, h);
  for (int i = 0; i < w * h; ++i) std::memcpy(&image.rgb[i * 3], (i % w < w / 2 ? left : right).data(), 3);
  return image;
}

TEST(Review, LumaMeanAndSpreadWeighRedGreenBlue) {
  const std::tuple<Rgb, Rgb, double, double> cases[] = {
      {{0, 0, 0}, {255, 255, 255}, 127.5, 127.5},
      {{255, 0, 0}, {0, 255, 0}, (0.299 + 0.587) * 127.5, (0.587 - 0.299) * 127.5},
      {{0, 0, 200}, {0, 0, 200}, 0.114 * 200, 0}};
  for (const auto& [left, right, mean, sd] : cases) {
    const review::Luminance luma = review::MeasureLuminance(Halves(8, 4, left, right));
    EXPECT_NEAR(luma.mean, mean, 1e-9);
    EXPECT_NEAR(luma.sd, sd, 1e-6) << mean;
  }
}

TEST(Review, ShrinkAveragesEachBlockRounded) {
  const FrameImage big = Halves(4, 2, {10, 20, 30}, {11, 221, 250});
  EXPECT_EQ(review::Shrink(big, 2, 1).rgb, (std::vector<uint8_t>{10, 20, 30, 11, 221, 250}));
  EXPECT_EQ(review::Shrink(big, 1, 1).rgb, (std::vector<uint8_t>{11, 121, 140}));  // halves round up
}

TEST(Review, SheetPlacesTilesInRowsWithLabelsBelow) {
  std::vector<review::SheetTile> tiles(3, {Halves(64, 32, {255, 0, 0}, {255, 0, 0}), "1.5 s"});
  tiles[1].frame = Halves(64, 32, {0, 0, 255}, {0, 0, 255});
  const FrameImage sheet = review::ComposeSheet(tiles, {2, 32, 16});
  // Two columns of 32 + 4 gap, two rows of 16 + a label strip of 22, 4 more on the far side.
  EXPECT_EQ(std::make_pair(sheet.width, sheet.height), std::make_pair(2 * 36 + 4, 2 * 38 + 4));
  // The first tile (shrunk), the second to its right, the third starting the second row; no fourth.
  for (auto [x, y, channel, value] :
       {std::array{14, 12, 0, 255}, {50, 12, 2, 255}, {14, 50, 0, 255}, {50, 50, 0, 24}})
    EXPECT_EQ(sheet.At(x, y)[channel], value) << x << "," << y;
  // The first label's strip holds light pixels.
  EXPECT_TRUE(std::any_of(sheet.At(4, 30), sheet.At(36, 30), [](uint8_t v) { return v > 200; }));
}
