// TextPrinter: its layout through the recorder (pen, escapes, styles, clipping, box, stops), then on GL
#include <GL/gl.h>

#include <array>
#include <climits>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "support/GLTest.h"
#include "text/TextPrinter.h"

namespace {

// Each quad as [s]<character><x>,<y>[/<slant>][#r,g,b,a in 255ths], "|" between quads; s marks a
// shadow pass, and the colour is given unless it is white.
std::string Describe(const TextLayoutRecord& record) {
  std::string out;
  for (const GlyphQuad& q : record.quads) {
    out += std::string(out.empty() ? "" : "|") + (q.shadowPass ? "s" : "") + static_cast<char>(q.character) +
           std::to_string(q.x) + "," + std::to_string(q.y) + (q.slant ? "/" + std::to_string(q.slant) : "");
    for (int k = 0; k < 4 && q.color != TextColor{1, 1, 1, 1}; ++k) {
      out += (k == 0 ? "#" : ",") + std::to_string(std::lround(q.color[k] * 255));
    }
  }
  return out;
}

// A 4 x 4 alpha texture, every texel `alpha`.
GLuint AlphaTexture(unsigned char alpha) {
  const std::vector<unsigned char> texels(16, alpha);
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, 4, 4, 0, GL_ALPHA, GL_UNSIGNED_BYTE, texels.data());
  return name;
}

class PrinterTest : public testsupport::GLTest {
 protected:
  PrinterTest() : GLTest(256, 128) {}
  void SetUp() override {
    GLTest::SetUp();
    font_.BuildGlyphTable();
    font_.texture = AlphaTexture(255);  // every glyph a solid square
    record_.viewport = {0, 0, 800, 600};
  }
  // Prints `text` as it stands (through "%s") into the recorder; every Print resets the attributes.
  std::string Print(const std::string& text, int x = 5, int y = 5) {
    record_.Clear();
    printer_.SetLayoutRecorder(&record_);
    printer_.Print(x, y, "%s", text.c_str());
    const TextAttributes& a = printer_.Attributes();
    EXPECT_TRUE(a.size == 12 && a.textColor == (TextColor{1, 1, 1, 1}) && !a.shadow && !a.bold && !a.italic &&
                !a.boxMode && a.shadowColor == (TextColor{0.5f, 0.5f, 0.5f, 1}));
    return Describe(record_);
  }

  Font font_;
  TextPrinter printer_{font_};
  TextLayoutRecord record_;
};

TEST_F(PrinterTest, PenStylesAndEscapes) {
  const struct {
    const char* text;
    int size;
    std::string quads;                // printed with a shadow when they start with one
    std::array<int, 4> scissor = {};  // {0, 0, 0, 0}: not checked
  } cases[] = {
      // clang-format off
      {"AB", 12, "A5,5|B17,5", {5, 5, 24, 12}},
      {"A\tB", 12, "A5,5|B77,5", {5, 5, 144, 12}},  // five widths on; the rectangle four per tab
      {"A\nB\nC", 12, "A5,5|B5,-7|C5,-19", {5, -19, 60, 36}},
      {"\\c(255 0 0)Hi \\c( 0  255 0 )Yo", 12,
       "H5,5#255,0,0,255|i17,5#255,0,0,255| 29,5#255,0,0,255|Y41,5#0,255,0,255|o53,5#0,255,0,255"},
      {"\\a(0 51 255 102)X", 12, "X5,5#0,51,255,102"},
      {"\\c(510 -255 0 junk)A", 12, "A5,5#510,-255,0,255"},  // not clamped; up to the first ")"
      {"\\b+A\\b-B", 12, "A5,5|A6,5|B17,5"},
      // With a shadow, drawn first, one right and one up (two right in bold); colour escapes leave it grey.
      {"\\c(0 0 255)A\\b+B\\b-C", 12, "sA6,6#128,128,128,255|A5,5#0,0,255,255|sB19,6#128,128,128,255|"
                                 "B17,5#0,0,255,255|B18,5#0,0,255,255|sC30,6#128,128,128,255|C29,5#0,0,255,255"},
      {"\\i+AB\\i-C", 28, "A5,5/8|B33,5/8|C61,5"},
      {"\\z", 12, "\\5,5|z17,5"},
      {"ab\\", 12, "a5,5|b17,5"},
      {"\\\\b+Q", 12, "\\5,5|Q17,5|Q18,5"},  // the second backslash starts an escape
      {"\\c(1 2\\c(0 255 0)Z", 12, "\\5,5|c17,5|(29,5|141,5| 53,5|265,5|Z77,5#0,255,0,255"},
      {"AB\\c(255 0 0CD", 12, "A5,5|B17,5"},  // no ")": the escape takes the rest
      // Escapes that do not match their form are drawn as they stand.
      {"\\c(255 0)X", 12, "\\5,5|c17,5|(29,5|241,5|553,5|565,5| 77,5|089,5|)101,5|X113,5"},
      {"\\a(1 2 3)X", 12, "\\5,5|a17,5|(29,5|141,5| 53,5|265,5| 77,5|389,5|)101,5|X113,5"},
      {"\\bX", 12, "\\5,5|b17,5|X29,5"},
      {"\\i=Y", 12, "\\5,5|i17,5|=29,5|Y41,5"},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    printer_.SetSize(c.size);
    if (c.quads[0] == 's') printer_.EnableShadow();
    EXPECT_EQ(Print(c.text), c.quads);
    if (c.scissor[2] != 0) {
      EXPECT_EQ(record_.scissor, c.scissor);
    }
  }
}

TEST_F(PrinterTest, FormatsPrintfStyleAndStopsAtTheEdgeOrAfter1023Characters) {
  printer_.SetLayoutRecorder(&record_);
  printer_.Print(5, 5, "%d%%", 42);
  EXPECT_EQ(Describe(record_), "45,5|217,5|%29,5");
  record_.Clear();
  printer_.Print(5, 5, nullptr);  // nothing, not the previous text again
  EXPECT_EQ(Describe(record_), "");
  record_.viewport = {100, 0, 20, 128};  // the right edge is the viewport's x plus its width
  EXPECT_EQ(Print("ABCD\nEF", 96, 60), "A96,60|B108,60|C120,60");
  record_.viewport = {0, 0, INT_MAX, 600};
  printer_.SetSize(1);
  Print(std::string(2000, 'w'), 0);
  EXPECT_EQ(record_.quads.back().x, 1022);  // the 1023rd
}

TEST_F(PrinterTest, TheBoxPlacesWrapsAndEndsTheText) {
  printer_.SetSize(18);
  printer_.SetBox(150, 430, 600, 20);  // the scrollers' box: one line of 33
  Print("0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJ", -1, -1);
  ASSERT_EQ(record_.quads.size(), 33u);
  EXPECT_EQ(std::tie(record_.quads[32].x, record_.quads[32].y), std::make_tuple(150 + 18 * 32, 412));
  EXPECT_EQ(record_.scissor, (std::array<int, 4>{150, 410, 600, 20}));
  printer_.SetSize(10);
  printer_.SetBox(0, 30, 35, 30);  // three glyphs a line, three lines, the last on the bottom edge
  EXPECT_EQ(Print("abcdefghijk", -1, -1), "a0,20|b10,20|c20,20|d0,10|e10,10|f20,10|g0,0|h10,0|i20,0");
}

TEST_F(PrinterTest, WhatGLIsFedIsTheRecordedLayout) {
  const auto print = [&] {
    printer_.EnableShadow();
    printer_.SetSize(9);
    printer_.Print(3, 100, "Mix \\c(10 200 30)of \\b+bold\\b- and\t\\i+slant\\i-\nsecond \\q line\\");
  };
  std::vector<std::array<testsupport::FeedbackVertex, 4>> fed;
  ASSERT_TRUE(testsupport::JoinQuads(testsupport::CapturePolygons(print), fed));
  std::array<GLint, 4> scissor{};
  glGetIntegerv(GL_SCISSOR_BOX, scissor.data());
  record_.viewport = {0, 0, width_, height_};
  printer_.SetLayoutRecorder(&record_);
  print();
  EXPECT_EQ(record_.scissor, scissor);
  ASSERT_EQ(record_.quads.size(), fed.size());
  for (size_t i = 0; i < fed.size(); ++i) {  // corners from the lower left, counter-clockwise
    const GlyphQuad& q = record_.quads[i];
    const auto& [a, b, c, d] = fed[i];
    const float x = q.x, y = q.y, s = q.size, l = q.slant, u = font_.glyphs[q.character].u,
                v = font_.glyphs[q.character].v, w = 0.0625f;
    SCOPED_TRACE(i);
    EXPECT_EQ(std::vector<float>({a.x, a.y, b.x, b.y, c.x, c.y, d.x, d.y}),
              std::vector<float>({x, y, x + s, y, x + s + l, y + s, x + l, y + s}));
    EXPECT_EQ(std::vector<float>({a.texCoord[0], a.texCoord[1], b.texCoord[0], c.texCoord[1], d.texCoord[0]}),
              std::vector<float>({u, v, u + w, v + w, u}));
    EXPECT_EQ(a.color, q.color);
  }
}

TEST_F(PrinterTest, GlyphsBlendOverThePictureWithTheFontTexture) {
  glClearColor(0, 0, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  AlphaTexture(0);  // bound before: the printer must bind the font itself
  printer_.SetColorRGBA(1, 0, 0, 0.5f);
  printer_.Print(5, 5, "AB");
  const auto pixels = ReadPixels();
  EXPECT_NEAR(PixelAt(pixels, 20, 10)[0], 128, 2);  // half red over blue
  EXPECT_NEAR(PixelAt(pixels, 20, 10)[2], 127, 2);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
