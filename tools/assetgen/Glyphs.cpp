// Glyphs: FreeType rendering, the font sheet, and text drawn into pictures (see Glyphs.h)
#include "Glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace assetgen {

const char* const kMonoBoldFont = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";
const char* const kSansBoldFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

Typeface::~Typeface() {
  if (face_) FT_Done_Face(static_cast<FT_Face>(face_));
  if (library_) FT_Done_FreeType(static_cast<FT_Library>(library_));
}

bool Typeface::Open(const std::string& path) {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) {
    std::fprintf(stderr, "assetgen: FreeType could not start\n");
    return false;
  }
  library_ = library;
  FT_Face face = nullptr;
  if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
    std::fprintf(stderr, "assetgen: cannot open font %s (package fonts-dejavu-core)\n", path.c_str());
    return false;
  }
  face_ = face;
  return true;
}

void Typeface::SetSize(int pixelWidth, int pixelHeight) {
  FT_Set_Pixel_Sizes(static_cast<FT_Face>(face_), pixelWidth, pixelHeight);
}

bool Typeface::Render(uint32_t code, GlyphBitmap& out) {
  FT_Face face = static_cast<FT_Face>(face_);
  if (!face || FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0) return false;
  const FT_Bitmap& bitmap = face->glyph->bitmap;
  out.width = static_cast<int>(bitmap.width);
  out.rows = static_cast<int>(bitmap.rows);
  out.left = face->glyph->bitmap_left;
  out.top = face->glyph->bitmap_top;
  out.advance = face->glyph->advance.x / 64.0;
  out.coverage.assign(size_t(out.width) * out.rows, 0);
  for (int r = 0; r < out.rows; ++r) {
    for (int c = 0; c < out.width; ++c) {
      out.coverage[size_t(r) * out.width + c] = bitmap.buffer[r * bitmap.pitch + c];
    }
  }
  return true;
}

bool MakeFontSheet(Picture& sheet) {
  constexpr int kCell = 16;
  constexpr int kBaseline = 12;  // from the cell's top: room for descenders below
  Typeface face;
  if (!face.Open(kMonoBoldFont)) return false;
  // A wider em than high fills the square cells the printer draws, like the classic demo fonts.
  face.SetSize(17, 14);
  sheet = Picture(256, 256);
  std::fill(sheet.colour.begin(), sheet.colour.end(), Rgb{1, 1, 1});
  std::fill(sheet.alpha.begin(), sheet.alpha.end(), 0.0);
  for (int c = 33; c <= 126; ++c) {
    GlyphBitmap glyph;
    if (!face.Render(uint32_t(c), glyph)) return false;
    int cellX = (c % 16) * kCell, cellY = (c / 16) * kCell;
    int penX = cellX + int(std::lround((kCell - glyph.advance) / 2.0));
    for (int r = 0; r < glyph.rows; ++r) {
      for (int col = 0; col < glyph.width; ++col) {
        int x = penX + glyph.left + col, y = cellY + kBaseline - glyph.top + r;
        // Keep a one-pixel gutter so linear filtering never bleeds a neighbour into a cell.
        if (x <= cellX || x >= cellX + kCell - 1 || y <= cellY || y >= cellY + kCell - 1) continue;
        double a = glyph.coverage[size_t(r) * glyph.width + col] / 255.0;
        sheet.AlphaAt(x, y) = std::max(sheet.AlphaAt(x, y), a);
      }
    }
  }
  return true;
}

double DrawText(Picture& target, Typeface& face, const std::string& text, double x, int y, Rgb colour,
                double opacity, bool centre) {
  if (centre) {
    double width = 0;
    GlyphBitmap glyph;
    for (unsigned char ch : text) {
      if (face.Render(ch, glyph)) width += glyph.advance;
    }
    x -= width / 2;
  }
  GlyphBitmap glyph;
  for (unsigned char ch : text) {
    if (!face.Render(ch, glyph)) continue;
    int originX = int(std::lround(x));
    for (int r = 0; r < glyph.rows; ++r) {
      for (int c = 0; c < glyph.width; ++c) {
        int px = originX + glyph.left + c, py = y - glyph.top + r;
        if (px < 0 || py < 0 || px >= target.width || py >= target.height) continue;
        double a = opacity * glyph.coverage[size_t(r) * glyph.width + c] / 255.0;
        target.At(px, py) = Mix(target.At(px, py), colour, a);
      }
    }
    x += glyph.advance;
  }
  return x;
}

}  // namespace assetgen
