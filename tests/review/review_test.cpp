// The review tool's figures and sheet: luma mean and spread, the box filter, tile placement.
#include <gtest/gtest.h>

#include <cstring>

#include "review/ContactSheet.h"
#include "review/FrameStats.h"

using review::FrameImage;

namespace {

// Left half one colour, right half another.
FrameImage Halves(int width, int height, const uint8_t left[3], const uint8_t right[3]) {
  FrameImage image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) std::memcpy(image.At(x, y), x < width / 2 ? left : right, 3);
  }
  return image;
}

struct LumaCase {
  const char* name;
  uint8_t left[3], right[3];
  double mean, sd;
};

}  // namespace

TEST(Review, LumaMeanAndSpreadWeighRedGreenBlue) {
  const LumaCase cases[] = {
      {"grey", {100, 100, 100}, {100, 100, 100}, 100.0, 0.0},
      {"black and white", {0, 0, 0}, {255, 255, 255}, 127.5, 127.5},
      {"red and green", {255, 0, 0}, {0, 255, 0}, (0.299 + 0.587) * 127.5, (0.587 - 0.299) * 127.5},
      {"blue and black", {0, 0, 200}, {0, 0, 0}, 0.114 * 100, 0.114 * 100},
  };
  for (const LumaCase& c : cases) {
    SCOPED_TRACE(c.name);
    const review::Luminance luma = review::MeasureLuminance(Halves(8, 4, c.left, c.right));
    EXPECT_NEAR(luma.mean, c.mean, 1e-9);
    EXPECT_NEAR(luma.sd, c.sd, 1e-6);
  }
  EXPECT_EQ(review::MeasureLuminance(FrameImage()).mean, 0.0);
}

TEST(Review, ShrinkAveragesEachBlockRounded) {
  const uint8_t dark[3] = {10, 20, 30}, light[3] = {11, 221, 250};
  const FrameImage small = review::Shrink(Halves(4, 2, dark, light), 2, 1);
  ASSERT_EQ(small.width, 2);
  ASSERT_EQ(small.height, 1);
  EXPECT_EQ(small.At(0, 0)[1], 20);
  EXPECT_EQ(small.At(1, 0)[2], 250);
  const FrameImage one = review::Shrink(Halves(4, 2, dark, light), 1, 1);
  EXPECT_EQ(one.At(0, 0)[0], 11);   // (10 + 11) / 2 rounds up
  EXPECT_EQ(one.At(0, 0)[1], 121);  // (20 + 221) / 2
}

TEST(Review, SheetPlacesTilesInRowsWithLabelsBelow) {
  const uint8_t red[3] = {255, 0, 0}, blue[3] = {0, 0, 255};
  std::vector<review::SheetTile> tiles;
  for (int i = 0; i < 3; ++i)
    tiles.push_back({Halves(64, 32, i == 1 ? blue : red, i == 1 ? blue : red), "1.5 s"});
  const FrameImage sheet = review::ComposeSheet(tiles, {2, 32, 16});
  // Two columns of 32 + 4 gap, two rows of 16 + a label strip of 22, 4 more on the far side.
  EXPECT_EQ(sheet.width, 2 * 36 + 4);
  EXPECT_EQ(sheet.height, 2 * 38 + 4);
  EXPECT_EQ(sheet.At(4 + 10, 4 + 8)[0], 255);   // first tile, shrunk
  EXPECT_EQ(sheet.At(40 + 10, 4 + 8)[2], 255);  // second tile, to its right
  EXPECT_EQ(sheet.At(4 + 10, 42 + 8)[0], 255);  // third tile starts the second row
  EXPECT_LT(sheet.At(40 + 10, 42 + 8)[0], 40);  // no fourth tile: ground
  bool inked = false;                           // the label's strip holds light pixels
  for (int x = 4; x < 36; ++x) inked = inked || sheet.At(x, 4 + 16 + 4 + 6)[0] > 200;
  EXPECT_TRUE(inked);
}
