// TextPrinter: formatting, GL state bracket, layout, escapes and glyph quads (see TextPrinter.h)
#include "text/TextPrinter.h"

#include <GL/gl.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

namespace {

constexpr char kTab = 9;
constexpr char kNewline = 10;
constexpr char kBackslash = 92;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int ClampToInt(int64_t value) { return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX)); }

// One number as "%d" reads it: leading blanks, an optional sign, at least one digit.
// Values beyond the int range saturate instead of overflowing.
bool ReadNumber(std::string_view text, size_t& pos, int& value) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  if (pos >= text.size() || !IsDigit(text[pos])) return false;
  int64_t magnitude = 0;
  while (pos < text.size() && IsDigit(text[pos])) {
    magnitude = std::min<int64_t>(magnitude * 10 + (text[pos] - '0'), int64_t{INT_MAX} + 1);
    ++pos;
  }
  value = ClampToInt(negative ? -magnitude : magnitude);
  return true;
}

// "(%d %d %d)" or "(%d %d %d %d)" starting at pos: the parenthesis must come first, blanks
// around the numbers are free, and every number must be there.
bool ReadParenthesisedNumbers(std::string_view text, size_t pos, int count, int* values) {
  if (pos >= text.size() || text[pos] != '(') return false;
  ++pos;
  for (int i = 0; i < count; ++i) {
    if (!ReadNumber(text, pos, values[i])) return false;
  }
  return true;
}

float ColorComponent(int value) { return static_cast<float>(value) * (1.0f / 255.0f); }

}  // namespace

void TextPrinter::SetBox(int left, int top, int width, int height) {
  attributes_.boxMode = true;
  attributes_.boxLeft = left;
  attributes_.boxBottom = ClampToInt(int64_t{top} - height);
  attributes_.boxWidth = width;
  attributes_.boxHeight = height;
}

void TextPrinter::Print(int x, int y, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  PrintV(x, y, format, args);
  va_end(args);
}

void TextPrinter::PrintV(int x, int y, const char* format, std::va_list args) {
  std::memset(buffer_, 0, sizeof buffer_);
  if (format != nullptr && std::vsnprintf(buffer_, sizeof buffer_, format, args) < 0) buffer_[0] = 0;
  buffer_[sizeof buffer_ - 1] = 0;
  const std::string_view text(buffer_, std::strlen(buffer_));

  std::array<int, 4> viewport{};
  if (recorder_ != nullptr) {
    viewport = recorder_->viewport;
    DrawString(text, x, y, viewport);
    ResetAttributes();
    return;
  }
  glGetIntegerv(GL_VIEWPORT, viewport.data());
  BeginGLState();
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, viewport[2], 0, viewport[3], -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glBindTexture(GL_TEXTURE_2D, font_.texture);
  DrawString(text, x, y, viewport);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  EndGLState();
  ResetAttributes();
}

void TextPrinter::BeginGLState() {
  glGetIntegerv(GL_POLYGON_MODE, saved_.polygonMode);
  if (saved_.polygonMode[0] != GL_FILL) glPolygonMode(GL_FRONT, GL_FILL);
  if (saved_.polygonMode[1] != GL_FILL) glPolygonMode(GL_BACK, GL_FILL);
  saved_.texture2D = glIsEnabled(GL_TEXTURE_2D) == GL_TRUE;
  if (!saved_.texture2D) glEnable(GL_TEXTURE_2D);
  saved_.depthTest = glIsEnabled(GL_DEPTH_TEST) == GL_TRUE;
  if (saved_.depthTest) glDisable(GL_DEPTH_TEST);
  saved_.lighting = glIsEnabled(GL_LIGHTING) == GL_TRUE;
  if (saved_.lighting) glDisable(GL_LIGHTING);
  saved_.scissorTest = glIsEnabled(GL_SCISSOR_TEST) == GL_TRUE;
  if (!saved_.scissorTest) glEnable(GL_SCISSOR_TEST);
  glGetIntegerv(GL_MATRIX_MODE, &saved_.matrixMode);
  saved_.blend = glIsEnabled(GL_BLEND) == GL_TRUE;
  glGetIntegerv(GL_BLEND_SRC, &saved_.blendSrc);
  glGetIntegerv(GL_BLEND_DST, &saved_.blendDst);
  if (!saved_.blend) glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

// The scissor rectangle, the current colour and the texture binding stay as printing left them.
void TextPrinter::EndGLState() {
  if (saved_.polygonMode[0] != GL_FILL) glPolygonMode(GL_FRONT, static_cast<GLenum>(saved_.polygonMode[0]));
  if (saved_.polygonMode[1] != GL_FILL) glPolygonMode(GL_BACK, static_cast<GLenum>(saved_.polygonMode[1]));
  if (saved_.lighting) glEnable(GL_LIGHTING);
  if (!saved_.blend) glDisable(GL_BLEND);
  glBlendFunc(static_cast<GLenum>(saved_.blendSrc), static_cast<GLenum>(saved_.blendDst));
  if (saved_.depthTest) glEnable(GL_DEPTH_TEST);
  if (!saved_.texture2D) glDisable(GL_TEXTURE_2D);
  if (!saved_.scissorTest) glDisable(GL_SCISSOR_TEST);
  glMatrixMode(static_cast<GLenum>(saved_.matrixMode));
}

// Outside box mode the rectangle is a generous guess from the text's length: every character a
// glyph wide, times four per tab when there are tabs, and one line per newline below the first.
void TextPrinter::SetClipRect(std::string_view text, int x, int y, int size) {
  int64_t left = x;
  int64_t bottom = y;
  int64_t width = 0;
  int64_t height = 0;
  if (attributes_.boxMode) {
    left = attributes_.boxLeft;
    bottom = attributes_.boxBottom;
    width = attributes_.boxWidth;
    height = attributes_.boxHeight;
  } else {
    const int64_t newlines = std::count(text.begin(), text.end(), kNewline);
    const int64_t tabs = std::count(text.begin(), text.end(), kTab);
    const int64_t widthFactor = tabs > 0 ? 4 * tabs : 1;
    width = static_cast<int64_t>(text.size()) * size * widthFactor;
    bottom = y - newlines * size;
    height = (newlines + 1) * size;
  }
  // GL refuses negative sizes; such a rectangle clips everything.
  const std::array<int, 4> rect = {ClampToInt(left), ClampToInt(bottom),
                                   ClampToInt(std::max<int64_t>(width, 0)),
                                   ClampToInt(std::max<int64_t>(height, 0))};
  if (recorder_ != nullptr) {
    recorder_->scissorSet = true;
    recorder_->scissor = rect;
  } else {
    glScissor(rect[0], rect[1], rect[2], rect[3]);
  }
}

void TextPrinter::DrawString(std::string_view text, int x, int y, const std::array<int, 4>& viewport) {
  const int size = attributes_.size;  // escapes never change it mid-string
  const bool inBox = attributes_.boxMode;
  const int64_t rightLimit = int64_t{viewport[0]} + viewport[2];
  int64_t lineStartX = x;
  int64_t penX = x;
  int64_t penY = y;
  SetClipRect(text, x, y, size);
  if (inBox) {
    lineStartX = attributes_.boxLeft;
    penX = attributes_.boxLeft;
    penY = int64_t{attributes_.boxBottom} + attributes_.boxHeight - size;
  }
  const int64_t boxRight = int64_t{attributes_.boxLeft} + attributes_.boxWidth;
  size_t i = 0;
  while (i < text.size()) {
    if (penX > rightLimit) return;
    if (inBox) {
      if (penX + size > boxRight) {
        penY -= size;
        penX = attributes_.boxLeft;
      }
      if (penY < attributes_.boxBottom) return;
    }
    const char c = text[i];
    if (c == kNewline) {
      penY -= size;
      penX = lineStartX;
      ++i;
      continue;
    }
    if (c == kTab) {
      penX += int64_t{4} * size;
      ++i;
    } else if (c == kBackslash) {
      i += ParseEscape(text, i, penX, penY, size);
    } else {
      DrawStyledGlyph(static_cast<unsigned char>(c), penX, penY, size);
      ++i;
    }
    penX += size;
  }
}

// Returns how many characters the escape at text[position] (a backslash) takes, at least one.
// A recognised escape moves the pen back by one glyph so that, after the caller's ordinary
// advance, it takes no room. An escape that does not match its form is not an escape: its
// backslash is drawn as a glyph and the characters after it are printed as they stand.
size_t TextPrinter::ParseEscape(std::string_view text, size_t position, int64_t& penX, int64_t penY,
                                int size) {
  const size_t next = position + 1;
  if (next >= text.size()) return 1;  // a lone backslash at the end: nothing more to draw
  const char kind = text[next];
  if (kind == 'c' || kind == 'a') {
    const int count = kind == 'c' ? 3 : 4;
    int values[4] = {0, 0, 0, 255};
    if (ReadParenthesisedNumbers(text, next + 1, count, values)) {
      attributes_.textColor = {ColorComponent(values[0]), ColorComponent(values[1]),
                               ColorComponent(values[2]), ColorComponent(values[3])};
      penX -= size;
      // The escape reaches to the first ")" after its letter; without one it takes the rest of the text.
      const size_t close = text.find(')', next + 1);
      return (close == std::string_view::npos ? text.size() : close + 1) - position;
    }
  } else if (kind == 'b' || kind == 'i') {
    const char sign = next + 1 < text.size() ? text[next + 1] : 0;
    if (sign == '+' || sign == '-') {
      bool& flag = kind == 'b' ? attributes_.bold : attributes_.italic;
      flag = sign == '+';
      penX -= size;
      return 3;
    }
  }
  DrawStyledGlyph(static_cast<unsigned char>(kBackslash), penX, penY, size);
  return 1;
}

// The shadow goes first so the glyph covers it; with bold it moves one more pixel right to
// stay clear of the second pass.
void TextPrinter::DrawStyledGlyph(unsigned char c, int64_t x, int64_t y, int size) {
  if (attributes_.shadow) DrawGlyph(c, attributes_.bold ? x + 2 : x + 1, y + 1, size, true);
  DrawGlyph(c, x, y, size, false);
  if (attributes_.bold) DrawGlyph(c, x + 1, y, size, false);
}

void TextPrinter::DrawGlyph(unsigned char c, int64_t x, int64_t y, int size, bool isShadowPass) {
  GlyphQuad quad;
  quad.character = c;
  quad.x = x;
  quad.y = y;
  quad.size = size;
  quad.slant = attributes_.italic ? kItalicSlant : 0;
  quad.shadowPass = isShadowPass;
  quad.color = isShadowPass ? attributes_.shadowColor : attributes_.textColor;
  quad.u = font_.glyphs[c].u;
  quad.v = font_.glyphs[c].v;
  quad.cellWidth = font_.cellWidth;
  quad.cellHeight = font_.cellHeight;
  if (recorder_ != nullptr) {
    recorder_->quads.push_back(quad);
    return;
  }
  const float left = static_cast<float>(x);
  const float bottom = static_cast<float>(y);
  const float right = static_cast<float>(x + size);
  const float top = static_cast<float>(y + size);
  const float slant = static_cast<float>(quad.slant);
  const float uRight = quad.u + quad.cellWidth;
  const float vTop = quad.v + quad.cellHeight;
  glColor4fv(quad.color.data());
  glBegin(GL_QUADS);
  glTexCoord2f(quad.u, quad.v);
  glVertex2f(left, bottom);
  glTexCoord2f(uRight, quad.v);
  glVertex2f(right, bottom);
  glTexCoord2f(uRight, vTop);
  glVertex2f(right + slant, top);
  glTexCoord2f(quad.u, vTop);
  glVertex2f(left + slant, top);
  glEnd();
}
