// TextPrinter: formatted text over the 3D picture, one textured square per character
#pragma once

#include <array>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "text/Font.h"

// Formatted text over the 3D picture in window pixels (origin bottom left, y up), one textured square per
// character from the bitmap font, with colour, shadow, bold, italic, backslash escapes inside the text (\c(r
// g b), \a(r g b a), \b+ \b-, \i+ \i-) and an optional box in which the text wraps and is clipped. Attributes
// apply to the next Print only. A layout recorder can stand in for GL: then printing makes no GL call at all
// and every quad lands in the record instead (for tests and fuzzing without a context).

using TextColor = std::array<float, 4>;  // r, g, b, a from 0 to 1

inline constexpr TextColor kDefaultTextColor = {1.0f, 1.0f, 1.0f, 1.0f};
inline constexpr TextColor kDefaultShadowColor = {0.5f, 0.5f, 0.5f, 1.0f};

struct TextAttributes {
  TextColor textColor = kDefaultTextColor;
  TextColor shadowColor = kDefaultShadowColor;
  int size = 12;         // glyph width and height in pixels, and the pen's advance per character
  bool shadow = false;   // a shadow pass one pixel right and up, drawn first
  bool italic = false;   // the glyph's top edge slanted kItalicSlant pixels to the right
  bool bold = false;     // each glyph drawn again one pixel to the right
  bool boxMode = false;  // laid out in the box, not at the Print position
  int boxLeft = 0;       // the box, window pixels
  int boxBottom = 0;
  int boxWidth = 0;
  int boxHeight = 0;
};

// The GL state printing changes, as it was before the Print.
struct SavedTextGLState {
  int polygonMode[2] = {0, 0};  // front, back
  bool texture2D = false;
  bool depthTest = false;
  bool lighting = false;
  bool scissorTest = false;
  bool blend = false;
  int matrixMode = 0;
  int blendSrc = 0;
  int blendDst = 0;
};

// One quad as DrawGlyph makes it. Corners, counter-clockwise from the lower left:
// (x, y), (x + size, y), (x + size + slant, y + size), (x + slant, y + size), with texture
// coordinates (u, v), (u + cellWidth, v), (u + cellWidth, v + cellHeight), (u, v + cellHeight).
struct GlyphQuad {
  unsigned char character = 0;
  int64_t x = 0;
  int64_t y = 0;
  int size = 0;
  int slant = 0;
  bool shadowPass = false;
  TextColor color{};
  float u = 0.0f;
  float v = 0.0f;
  float cellWidth = 0.0f;
  float cellHeight = 0.0f;
};

// Stands in for GL while set on a printer (see TextPrinter::SetLayoutRecorder).
struct TextLayoutRecord {
  std::array<int, 4> viewport = {0, 0, 640, 480};  // what Print reads instead of GL_VIEWPORT
  bool scissorSet = false;
  std::array<int, 4> scissor = {0, 0, 0, 0};  // the rectangle glScissor would have received
  std::vector<GlyphQuad> quads;               // in drawing order
  void Clear() {
    scissorSet = false;
    scissor = {0, 0, 0, 0};
    quads.clear();
  }
};

class TextPrinter {
 public:
  static constexpr size_t kFormatBufferSize = 1024;  // at most 1023 characters are printed
  static constexpr int kItalicSlant = 8;

  explicit TextPrinter(const Font& font) : font_(font) {}

  void SetSize(int pixels) { attributes_.size = pixels; }
  void SetColor(float r, float g, float b) { attributes_.textColor = {r, g, b, 1.0f}; }
  void SetColorRGBA(float r, float g, float b, float a) { attributes_.textColor = {r, g, b, a}; }
  void SetShadowColor(float r, float g, float b) { attributes_.shadowColor = {r, g, b, 1.0f}; }
  void EnableShadow() { attributes_.shadow = true; }
  // top is the box's upper edge; the box reaches down to top - height.
  void SetBox(int left, int top, int width, int height);
  void ResetAttributes() { attributes_ = TextAttributes{}; }
  const TextAttributes& Attributes() const { return attributes_; }

  // Formats with the printf conventions and draws the result with its first glyph's lower-left
  // corner at (x, y); in box mode x and y are not used (callers pass -1, -1). A ready-made
  // string passed as the format must hold no per cent sign. Resets the attributes at the end.
  void Print(int x, int y, const char* format, ...);
  void PrintV(int x, int y, const char* format, std::va_list args);

  // While a record is set, printing makes no GL call; the record must outlive its use.
  void SetLayoutRecorder(TextLayoutRecord* record) { recorder_ = record; }

 private:
  void BeginGLState();
  void EndGLState();
  void DrawString(std::string_view text, int x, int y, const std::array<int, 4>& viewport);
  void SetClipRect(std::string_view text, int x, int y, int size);
  size_t ParseEscape(std::string_view text, size_t position, int64_t& penX, int64_t penY, int size);
  void DrawStyledGlyph(unsigned char c, int64_t x, int64_t y, int size);
  void DrawGlyph(unsigned char c, int64_t x, int64_t y, int size, bool isShadowPass);

  const Font& font_;
  TextAttributes attributes_;
  SavedTextGLState saved_;
  TextLayoutRecord* recorder_ = nullptr;
  char buffer_[kFormatBufferSize] = {};
};
