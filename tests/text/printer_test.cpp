// The text printer on a GL context: the quads, the scissor rectangle and the GL state it restores
#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "support/FeedbackPolygons.h"
#include "support/GLTest.h"
#include "text/Font.h"
#include "text/TextPrinter.h"

namespace {

using Quad = std::array<testsupport::FeedbackVertex, 4>;

class PrinterTest : public testsupport::GLTest {
 protected:
  PrinterTest() : GLTest(256, 128) {}

  void SetUp() override {
    GLTest::SetUp();
    font_.BuildGlyphTable();
    glGenTextures(1, &font_.texture);
    glViewport(0, 0, width_, height_);
  }

  std::vector<Quad> PrintQuads(int x, int y, const char* text) {
    const auto feedback = testsupport::CaptureFeedback([&] { printer_.Print(x, y, text); });
    std::vector<Quad> quads;
    EXPECT_TRUE(testsupport::JoinQuads(testsupport::ParseFeedbackPolygons(feedback), quads));
    return quads;
  }

  static std::array<int, 4> ScissorBox() {
    std::array<int, 4> box{};
    glGetIntegerv(GL_SCISSOR_BOX, box.data());
    return box;
  }

  // Corners and texture coordinates of glyph c drawn at (x, y) in the given size and slant.
  void ExpectGlyph(const Quad& quad, unsigned char c, float x, float y, float size, float slant = 0.0f) {
    const float u = font_.glyphs[c].u;
    const float v = font_.glyphs[c].v;
    const float corners[4][4] = {{x, y, u, v},
                                 {x + size, y, u + 0.0625f, v},
                                 {x + size + slant, y + size, u + 0.0625f, v + 0.0625f},
                                 {x + slant, y + size, u, v + 0.0625f}};
    for (int k = 0; k < 4; ++k) {
      // Window coordinates come back through the viewport transform: allow its rounding.
      EXPECT_NEAR(quad[k].x, corners[k][0], 1e-3) << "corner " << k << " of '" << c << "'";
      EXPECT_NEAR(quad[k].y, corners[k][1], 1e-3) << "corner " << k << " of '" << c << "'";
      EXPECT_EQ(quad[k].texCoord[0], corners[k][2]) << "corner " << k << " of '" << c << "'";
      EXPECT_EQ(quad[k].texCoord[1], corners[k][3]) << "corner " << k << " of '" << c << "'";
    }
  }

  static void ExpectColor(const Quad& quad, float r, float g, float b, float a = 1.0f) {
    for (const auto& vertex : quad) {
      EXPECT_NEAR(vertex.color[0], r, 1e-6);
      EXPECT_NEAR(vertex.color[1], g, 1e-6);
      EXPECT_NEAR(vertex.color[2], b, 1e-6);
      EXPECT_NEAR(vertex.color[3], a, 1e-6);
    }
  }

  Font font_;
  TextPrinter printer_{font_};
};

TEST_F(PrinterTest, TwoLettersWithTheDefaults) {
  const auto quads = PrintQuads(5, 5, "AB");
  ASSERT_EQ(quads.size(), 2u);
  ExpectGlyph(quads[0], 'A', 5, 5, 12);
  ExpectGlyph(quads[1], 'B', 17, 5, 12);
  ExpectColor(quads[0], 1, 1, 1);
  ExpectColor(quads[1], 1, 1, 1);
  EXPECT_EQ(ScissorBox(), (std::array<int, 4>{5, 5, 24, 12}));
  const TextAttributes& attributes = printer_.Attributes();
  EXPECT_EQ(attributes.size, 12);
  EXPECT_EQ(attributes.textColor, kDefaultTextColor);
  EXPECT_EQ(attributes.shadowColor, kDefaultShadowColor);
  EXPECT_FALSE(attributes.boxMode);
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), font_.texture);
}

TEST_F(PrinterTest, AttributesLastForOnePrint) {
  printer_.SetSize(28);
  printer_.SetColorRGBA(0.25f, 0.5f, 0.75f, 0.5f);
  auto quads = PrintQuads(10, 20, "A");
  ASSERT_EQ(quads.size(), 1u);
  ExpectGlyph(quads[0], 'A', 10, 20, 28);
  ExpectColor(quads[0], 0.25f, 0.5f, 0.75f, 0.5f);
  quads = PrintQuads(10, 20, "A");
  ASSERT_EQ(quads.size(), 1u);
  ExpectGlyph(quads[0], 'A', 10, 20, 12);
  ExpectColor(quads[0], 1, 1, 1);
}

TEST_F(PrinterTest, TabMovesFiveGlyphWidthsAndWidensTheScissor) {
  const auto quads = PrintQuads(5, 5, "A\tB");
  ASSERT_EQ(quads.size(), 2u);
  ExpectGlyph(quads[1], 'B', 5 + 6 * 12, 5, 12);
  EXPECT_EQ(ScissorBox(), (std::array<int, 4>{5, 5, 3 * 12 * 4, 12}));
}

TEST_F(PrinterTest, NewlineGoesDownOneLineAndTheScissorGrowsDownwards) {
  const auto quads = PrintQuads(30, 60, "A\nB\nC");
  ASSERT_EQ(quads.size(), 3u);
  ExpectGlyph(quads[1], 'B', 30, 48, 12);
  ExpectGlyph(quads[2], 'C', 30, 36, 12);
  EXPECT_EQ(ScissorBox(), (std::array<int, 4>{30, 36, 5 * 12, 3 * 12}));
}

TEST_F(PrinterTest, ColourEscapesColourWordsWithoutTakingRoom) {
  const auto quads = PrintQuads(5, 5, "\\c(255 0 0)Hi \\c( 0  255 0 )Yo");
  ASSERT_EQ(quads.size(), 5u);
  const char* letters = "Hi Yo";
  for (int k = 0; k < 5; ++k) ExpectGlyph(quads[k], letters[k], 5.0f + 12 * k, 5, 12);
  ExpectColor(quads[0], 1, 0, 0);
  ExpectColor(quads[2], 1, 0, 0);
  ExpectColor(quads[3], 0, 1, 0);
  ExpectColor(quads[4], 0, 1, 0);
}

TEST_F(PrinterTest, AlphaEscapeSetsAllFourComponents) {
  const auto quads = PrintQuads(5, 5, "\\a(0 51 255 102)X");
  ASSERT_EQ(quads.size(), 1u);
  ExpectGlyph(quads[0], 'X', 5, 5, 12);
  ExpectColor(quads[0], 0, 0.2f, 1, 0.4f);
}

TEST_F(PrinterTest, ColourEscapesLeaveTheShadowAlone) {
  printer_.EnableShadow();
  printer_.SetShadowColor(0, 0, 1);
  const auto quads = PrintQuads(5, 5, "\\c(255 0 0)A");
  ASSERT_EQ(quads.size(), 2u);
  ExpectColor(quads[0], 0, 0, 1);
  ExpectColor(quads[1], 1, 0, 0);
}

TEST_F(PrinterTest, BoldDrawsTwiceAndMovesTheShadow) {
  auto quads = PrintQuads(40, 30, "\\b+A\\b-B");
  ASSERT_EQ(quads.size(), 3u);
  ExpectGlyph(quads[0], 'A', 40, 30, 12);
  ExpectGlyph(quads[1], 'A', 41, 30, 12);
  ExpectGlyph(quads[2], 'B', 52, 30, 12);

  printer_.EnableShadow();
  quads = PrintQuads(40, 30, "A\\b+B");
  ASSERT_EQ(quads.size(), 5u);
  ExpectGlyph(quads[0], 'A', 41, 31, 12);  // shadow first, one right and one up
  ExpectColor(quads[0], 0.5f, 0.5f, 0.5f);
  ExpectGlyph(quads[1], 'A', 40, 30, 12);
  ExpectColor(quads[1], 1, 1, 1);
  ExpectGlyph(quads[2], 'B', 54, 31, 12);  // bold: shadow two right
  ExpectColor(quads[2], 0.5f, 0.5f, 0.5f);
  ExpectGlyph(quads[3], 'B', 52, 30, 12);
  ExpectGlyph(quads[4], 'B', 53, 30, 12);
  ExpectColor(quads[4], 1, 1, 1);
}

TEST_F(PrinterTest, ItalicSlantsTopEdgesByEightPixelsAtAnySize) {
  for (int size : {12, 28}) {
    printer_.SetSize(size);
    const auto quads = PrintQuads(5, 5, "\\i+AB\\i-C");
    ASSERT_EQ(quads.size(), 3u);
    ExpectGlyph(quads[0], 'A', 5, 5, size, 8);
    ExpectGlyph(quads[1], 'B', 5.0f + size, 5, size, 8);
    ExpectGlyph(quads[2], 'C', 5.0f + 2 * size, 5, size, 0);
  }
}

TEST_F(PrinterTest, UnknownOrLoneBackslashes) {
  auto quads = PrintQuads(5, 5, "\\z");
  ASSERT_EQ(quads.size(), 2u);
  ExpectGlyph(quads[0], '\\', 5, 5, 12);
  ExpectGlyph(quads[1], 'z', 17, 5, 12);
  quads = PrintQuads(5, 5, "ab\\");
  ASSERT_EQ(quads.size(), 2u);
  ExpectGlyph(quads[1], 'b', 17, 5, 12);
}

TEST_F(PrinterTest, PerCentSignsInTheFormatAreConversions) {
  const auto quads = [&] {
    const auto feedback = testsupport::CaptureFeedback([&] { printer_.Print(5, 5, "%d%%", 42); });
    std::vector<Quad> result;
    EXPECT_TRUE(testsupport::JoinQuads(testsupport::ParseFeedbackPolygons(feedback), result));
    return result;
  }();
  ASSERT_EQ(quads.size(), 3u);
  ExpectGlyph(quads[0], '4', 5, 5, 12);
  ExpectGlyph(quads[1], '2', 17, 5, 12);
  ExpectGlyph(quads[2], '%', 29, 5, 12);
}

TEST_F(PrinterTest, PassingTheViewportsRightEdgeEndsThePrint) {
  // 256 wide: pens at 5, 17, ..., 245 are inside, 257 is past the edge. The last glyph is cut
  // by the view volume, so look at the extent of what was fed rather than at whole quads.
  const auto feedback =
      testsupport::CaptureFeedback([&] { printer_.Print(5, 60, "ABCDEFGHIJKLMNOPQRSTUVWXYZ\nnext line"); });
  const auto polygons = testsupport::ParseFeedbackPolygons(feedback);
  ASSERT_FALSE(polygons.empty());
  float lowest = 1e9f;
  float rightmost = 0.0f;
  for (const auto& polygon : polygons) {
    for (const auto& vertex : polygon) {
      lowest = std::min(lowest, vertex.y);
      rightmost = std::max(rightmost, vertex.x);
    }
  }
  EXPECT_NEAR(lowest, 60.0f, 1e-3);  // the line after the newline is not drawn
  EXPECT_NEAR(rightmost, 256.0f, 1e-3);
}

class BoxPrinterTest : public PrinterTest {
 protected:
  BoxPrinterTest() {
    width_ = 800;
    height_ = 600;
  }
};

TEST_F(BoxPrinterTest, TheScrollerBoxShowsOneLineOf33Characters) {
  printer_.SetSize(18);
  printer_.SetBox(150, 430, 600, 20);
  const std::string text = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJ";
  const auto quads = PrintQuads(-1, -1, text.c_str());
  ASSERT_EQ(quads.size(), 33u);
  for (int k = 0; k < 33; ++k) ExpectGlyph(quads[k], text[k], 150.0f + 18 * k, 412, 18);
  EXPECT_EQ(ScissorBox(), (std::array<int, 4>{150, 410, 600, 20}));
  EXPECT_FALSE(printer_.Attributes().boxMode);
}

TEST_F(BoxPrinterTest, ATallerBoxWrapsOntoTheNextLine) {
  printer_.SetSize(10);
  printer_.SetBox(100, 200, 35, 25);  // three glyphs a line, two lines
  const auto quads = PrintQuads(-1, -1, "abcdefgh");
  ASSERT_EQ(quads.size(), 6u);
  ExpectGlyph(quads[0], 'a', 100, 190, 10);
  ExpectGlyph(quads[2], 'c', 120, 190, 10);
  ExpectGlyph(quads[3], 'd', 100, 180, 10);
  ExpectGlyph(quads[5], 'f', 120, 180, 10);
}

struct GLStateSnapshot {
  std::array<GLint, 2> polygonMode{};
  std::array<GLboolean, 6> enabled{};
  GLint matrixMode = 0;
  GLint blendSrc = 0;
  GLint blendDst = 0;
  std::array<GLint, 3> stackDepths{};
  std::array<GLfloat, 16> projection{};
  std::array<GLfloat, 16> modelview{};

  static GLStateSnapshot Take() {
    GLStateSnapshot s;
    glGetIntegerv(GL_POLYGON_MODE, s.polygonMode.data());
    const GLenum caps[6] = {GL_TEXTURE_2D,   GL_DEPTH_TEST, GL_LIGHTING,
                            GL_SCISSOR_TEST, GL_BLEND,      GL_ALPHA_TEST};
    for (int i = 0; i < 6; ++i) s.enabled[i] = glIsEnabled(caps[i]);
    glGetIntegerv(GL_MATRIX_MODE, &s.matrixMode);
    glGetIntegerv(GL_BLEND_SRC, &s.blendSrc);
    glGetIntegerv(GL_BLEND_DST, &s.blendDst);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &s.stackDepths[0]);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &s.stackDepths[1]);
    glGetIntegerv(GL_TEXTURE_STACK_DEPTH, &s.stackDepths[2]);
    glGetFloatv(GL_PROJECTION_MATRIX, s.projection.data());
    glGetFloatv(GL_MODELVIEW_MATRIX, s.modelview.data());
    return s;
  }
  bool operator==(const GLStateSnapshot&) const = default;
};

TEST_F(PrinterTest, PrintingLeavesEveryRecordedStateAsItWas) {
  // Two opposite starting states, so that each flag is seen restored both ways.
  for (int variant = 0; variant < 2; ++variant) {
    const bool on = variant == 0;
    glPolygonMode(GL_FRONT, on ? GL_LINE : GL_FILL);
    glPolygonMode(GL_BACK, on ? GL_POINT : GL_LINE);
    for (GLenum cap : {GL_TEXTURE_2D, GL_DEPTH_TEST, GL_LIGHTING, GL_SCISSOR_TEST, GL_BLEND}) {
      on ? glEnable(cap) : glDisable(cap);
    }
    glBlendFunc(on ? GL_ONE : GL_DST_COLOR, on ? GL_ZERO : GL_SRC_COLOR);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-1, 1, -1, 1, 1, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    glMatrixMode(on ? GL_TEXTURE : GL_PROJECTION);
    const GLStateSnapshot before = GLStateSnapshot::Take();
    printer_.EnableShadow();
    printer_.Print(5, 5, "State \\b+bold\\i+ italic\n\\c(1 2 3)tab\tend");
    const GLStateSnapshot after = GLStateSnapshot::Take();
    EXPECT_TRUE(before == after) << "variant " << variant;
    EXPECT_EQ(after.polygonMode[0], on ? GL_LINE : GL_FILL);
    EXPECT_EQ(after.blendSrc, on ? GL_ONE : GL_DST_COLOR);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }
}

TEST_F(PrinterTest, RecordedLayoutMatchesWhatGLIsFed) {
  const char* text = "Mix \\c(10 200 30)of \\b+bold\\b- and\t\\i+slant\\i-\nsecond \\q line\\";
  printer_.EnableShadow();
  printer_.SetSize(9);
  const auto fed = PrintQuads(3, 100, text);
  TextLayoutRecord record;
  record.viewport = {0, 0, width_, height_};
  printer_.SetLayoutRecorder(&record);
  printer_.EnableShadow();
  printer_.SetSize(9);
  printer_.Print(3, 100, text);
  ASSERT_EQ(record.quads.size(), fed.size());
  for (size_t i = 0; i < fed.size(); ++i) {
    const GlyphQuad& quad = record.quads[i];
    ExpectGlyph(fed[i], quad.character, static_cast<float>(quad.x), static_cast<float>(quad.y),
                static_cast<float>(quad.size), static_cast<float>(quad.slant));
    ExpectColor(fed[i], quad.color[0], quad.color[1], quad.color[2], quad.color[3]);
  }
}

}  // namespace
