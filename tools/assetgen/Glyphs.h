// Glyphs: anti-aliased text through FreeType, for the font sheet and the panel's lettering
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Picture.h"

namespace assetgen {

// Coverage of one rendered glyph; left/top place its bitmap relative to the pen on the baseline.
struct GlyphBitmap {
  int width = 0;
  int rows = 0;
  int left = 0;
  int top = 0;
  double advance = 0;  // pixels
  std::vector<uint8_t> coverage;
};

// One font face file at one pixel size. Open fails (with a message) when the file is missing.
class Typeface {
 public:
  Typeface() = default;
  ~Typeface();
  Typeface(const Typeface&) = delete;
  Typeface& operator=(const Typeface&) = delete;

  bool Open(const std::string& path);
  // Pixel width and height of the em; a wider width stretches the glyphs sideways.
  void SetSize(int pixelWidth, int pixelHeight);
  bool Render(uint32_t code, GlyphBitmap& out);

 private:
  void* library_ = nullptr;  // FT_Library
  void* face_ = nullptr;     // FT_Face
};

// Where the generator finds its fonts (Debian's fonts-dejavu-core).
extern const char* const kMonoBoldFont;
extern const char* const kSansBoldFont;

// 256 x 256 sheet of 16 x 16 cells of 16 px: byte c in column c mod 16, row c div 16 from the
// top; white, coverage in alpha; printable ASCII (33..126) drawn, every other cell empty.
bool MakeFontSheet(Picture& sheet);

// Draws text with its baseline starting at (x, y), blending `colour` by coverage; returns the
// pen's end x. Centred horizontally on x when centre is set.
double DrawText(Picture& target, Typeface& face, const std::string& text, double x, int y, Rgb colour,
                double opacity, bool centre);

}  // namespace assetgen
