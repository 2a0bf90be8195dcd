// ContactSheet: tiling, and a 5 x 7 pixel font for the labels.
#include "review/ContactSheet.h"

#include <algorithm>
#include <cstring>

#include "review/FrameStats.h"

namespace review {
namespace {

constexpr int kGap = 4;
constexpr int kScale = 2;  // label pixels per font pixel
constexpr int kLabelHeight = 7 * kScale + 2 * kGap;
constexpr uint8_t kGround[3] = {24, 24, 28};

struct Glyph {
  char code;
  const char* rows[7];
};

// Only what the review's labels use.
constexpr Glyph kGlyphs[] = {
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', {"####.", "....#", "....#", ".###.", "....#", "....#", "####."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', {".###.", "#....", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "....#", ".###."}},
    {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
    {'/', {"....#", "....#", "...#.", "..#..", ".#...", "#....", "#...."}},
    {'s', {".....", ".....", ".####", "#....", ".###.", "....#", "####."}},
    {'m', {".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"}},
    {'e', {".....", ".....", ".###.", "#...#", "#####", "#....", ".###."}},
    {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####"}},
    {'n', {".....", ".....", "####.", "#...#", "#...#", "#...#", "#...#"}},
    {'d', {"....#", "....#", ".####", "#...#", "#...#", "#...#", ".####"}},
};

const Glyph* Find(char code) {
  for (const Glyph& glyph : kGlyphs) {
    if (glyph.code == code) return &glyph;
  }
  return nullptr;
}

void Fill(FrameImage& image, int x0, int y0, int w, int h, const uint8_t colour[3]) {
  for (int y = std::max(0, y0); y < std::min(image.height, y0 + h); ++y) {
    for (int x = std::max(0, x0); x < std::min(image.width, x0 + w); ++x)
      std::memcpy(image.At(x, y), colour, 3);
  }
}

void DrawLabel(FrameImage& sheet, const std::string& text, int x0, int y0) {
  const uint8_t ink[3] = {230, 230, 230};
  for (size_t i = 0; i < text.size(); ++i) {
    const Glyph* glyph = Find(text[i]);
    if (glyph == nullptr) continue;
    const int left = x0 + static_cast<int>(i) * 6 * kScale;
    for (int row = 0; row < 7; ++row) {
      for (int col = 0; col < 5; ++col) {
        if (glyph->rows[row][col] == '#')
          Fill(sheet, left + col * kScale, y0 + row * kScale, kScale, kScale, ink);
      }
    }
  }
}

void Paste(FrameImage& sheet, const FrameImage& tile, int x0, int y0) {
  for (int y = 0; y < tile.height && y0 + y < sheet.height; ++y) {
    for (int x = 0; x < tile.width && x0 + x < sheet.width; ++x)
      std::memcpy(sheet.At(x0 + x, y0 + y), tile.At(x, y), 3);
  }
}

}  // namespace

FrameImage ComposeSheet(const std::vector<SheetTile>& tiles, const SheetLayout& layout) {
  const int columns = std::max(1, std::min(layout.columns, static_cast<int>(tiles.size())));
  const int rows = (static_cast<int>(tiles.size()) + columns - 1) / columns;
  const int cellWidth = layout.tileWidth + kGap, cellHeight = layout.tileHeight + kLabelHeight;
  FrameImage sheet(columns * cellWidth + kGap, rows * cellHeight + kGap);
  Fill(sheet, 0, 0, sheet.width, sheet.height, kGround);
  for (size_t i = 0; i < tiles.size(); ++i) {
    const int x0 = kGap + static_cast<int>(i % columns) * cellWidth;
    const int y0 = kGap + static_cast<int>(i / columns) * cellHeight;
    const FrameImage& frame = tiles[i].frame;
    const bool fits = frame.width >= layout.tileWidth && frame.height >= layout.tileHeight;
    Paste(sheet, fits ? Shrink(frame, layout.tileWidth, layout.tileHeight) : frame, x0, y0);
    DrawLabel(sheet, tiles[i].label, x0, y0 + layout.tileHeight + kGap);
  }
  return sheet;
}

}  // namespace review
