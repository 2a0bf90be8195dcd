// The font file: a TGA the text module reads, with a glyph in the cell of every printable character
#include <gtest/gtest.h>

#include "RunFolder.h"

using namespace assettest;

namespace {

constexpr int kSize = 256;
constexpr int kCell = 16;

struct Sheet {
  std::vector<unsigned char> file;
  // Alpha of picture pixel (x, y), y counted from the top of the upright picture.
  int Alpha(int x, int y) const { return file[18 + (size_t(kSize - 1 - y) * kSize + x) * 4 + 3]; }
  int CellInk(int c, int rowFrom = 0, int rowTo = kCell) const {
    int sum = 0;
    for (int y = rowFrom; y < rowTo; ++y)
      for (int x = 0; x < kCell; ++x) sum += Alpha((c % 16) * kCell + x, (c / 16) * kCell + y);
    return sum;
  }
};

Sheet LoadSheet() { return Sheet{ReadAll(RunDir() / "data/font/Font.tga")}; }

}  // namespace

TEST(Font, HeaderIsUncompressed32BitBottomUp256Square) {
  Sheet s = LoadSheet();
  ASSERT_EQ(s.file.size(), 18u + kSize * kSize * 4);
  EXPECT_EQ(s.file[0], 0);  // no ID field: pixels start at 18
  EXPECT_EQ(s.file[1], 0);  // no colour map
  EXPECT_EQ(s.file[2], 2);  // uncompressed true colour
  EXPECT_EQ(Le16(s.file, 12), 256u);
  EXPECT_EQ(Le16(s.file, 14), 256u);
  EXPECT_EQ(s.file[16], 32);
  EXPECT_EQ(s.file[17] & 0x20, 0);  // origin at the bottom: rows stored bottom-up
  EXPECT_EQ(s.file[17] & 0x0F, 8);  // eight alpha bits
}

TEST(Font, PrintableCellsHoldGlyphsAndAllOthersAreEmpty) {
  Sheet s = LoadSheet();
  for (int c = 0; c < 256; ++c) {
    SCOPED_TRACE(c);
    if (c > 32 && c < 127) {
      EXPECT_GT(s.CellInk(c), 255 * 2);
    } else {
      EXPECT_EQ(s.CellInk(c), 0);
    }
  }
  EXPECT_GT(s.CellInk('\\'), 255 * 8);  // the printer draws stray escapes with it
}

TEST(Font, GlyphsAreWhiteAntiAliasedAndUpright) {
  Sheet s = LoadSheet();
  int partial = 0;
  for (size_t i = 18; i < s.file.size(); i += 4) {
    ASSERT_EQ(s.file[i], 255);
    ASSERT_EQ(s.file[i + 1], 255);
    ASSERT_EQ(s.file[i + 2], 255);
    int a = s.file[i + 3];
    if (a > 0 && a < 255) ++partial;
  }
  EXPECT_GT(partial, 1000);  // soft edges, not a one-bit font
  // '_' sits low in its cell and the bar of 'T' high: the picture is stored the right way up.
  EXPECT_GT(s.CellInk('_', 10, 16), 4 * s.CellInk('_', 0, 10));
  EXPECT_GT(s.CellInk('T', 0, 6), s.CellInk('T', 6, 16));
  // A one-pixel gutter round every cell keeps filtering from bleeding between glyphs.
  for (int c = 0; c < 256; ++c) {
    for (int k = 0; k < kCell; ++k) {
      int x0 = (c % 16) * kCell, y0 = (c / 16) * kCell;
      ASSERT_EQ(s.Alpha(x0 + k, y0), 0);
      ASSERT_EQ(s.Alpha(x0 + k, y0 + kCell - 1), 0);
      ASSERT_EQ(s.Alpha(x0, y0 + k), 0);
      ASSERT_EQ(s.Alpha(x0 + kCell - 1, y0 + k), 0);
    }
  }
}
