// The font file: a TGA the text module reads, with a glyph in the cell of every printable character
#include <gtest/gtest.h>

#include "support/Scratch.h"

namespace {

constexpr int kCell = 16;  // pixels; 16 x 16 cells make the 256 x 256 picture

struct Sheet {
  std::vector<unsigned char> file = testsupport::ReadFile(testsupport::RunDir() / "data/font/Font.tga");
  // Alpha of pixel (x, y), y counted from the top of the upright picture (rows are stored bottom-up).
  int Alpha(int x, int y) const { return file[18 + (size_t(255 - y) * 256 + x) * 4 + 3]; }
  int CellInk(int c, int rowFrom = 0, int rowTo = kCell) const {
    int sum = 0;
    for (int y = rowFrom; y < rowTo; ++y)
      for (int x = 0; x < kCell; ++x) sum += Alpha((c % 16) * kCell + x, (c / 16) * kCell + y);
    return sum;
  }
};

}  // namespace

TEST(Font, IsAnUncompressed32BitBottomUpSheetOfWhiteAntiAliasedUprightGlyphs) {
  const Sheet s;
  ASSERT_EQ(s.file.size(), 18u + 256 * 256 * 4);
  // No ID field or colour map, uncompressed true colour, 256 x 256, 32 bits with 8 of alpha, bottom-up.
  const std::vector<unsigned char> header = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 32, 8};
  EXPECT_EQ(std::vector<unsigned char>(s.file.begin(), s.file.begin() + 18), header);
  // White glyphs with soft edges (not a one-bit font), and a one-pixel gutter round every cell that keeps
  // filtering from bleeding between glyphs.
  int partial = 0, gutter = 0;
  for (int i = 0; i < 256 * 256; ++i) {
    const unsigned char* p = &s.file[18 + size_t(i) * 4];
    ASSERT_EQ(p[0] & p[1] & p[2], 255) << i;
    partial += p[3] > 0 && p[3] < 255;
    gutter +=
        (i % kCell == 0 || i % kCell == kCell - 1 || i / 256 % kCell == 0 || i / 256 % kCell == kCell - 1) *
        p[3];
  }
  EXPECT_GT(partial, 1000);
  EXPECT_EQ(gutter, 0);
  for (int c = 0; c < 256; ++c) EXPECT_EQ(s.CellInk(c) > 255 * 2, c > 32 && c < 127) << c;
  EXPECT_GT(s.CellInk('\\'), 255 * 8);  // the printer draws stray escapes with it
  // '_' sits low in its cell and the bar of 'T' high: the picture is stored the right way up.
  EXPECT_GT(s.CellInk('_', 10, 16), 4 * s.CellInk('_', 0, 10));
  EXPECT_GT(s.CellInk('T', 0, 6), s.CellInk('T', 6, 16));
}
