// The printer's layout through its recorder, without GL: escapes, limits, stops and hostile input
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "text/Font.h"
#include "text/TextPrinter.h"

namespace {

class LayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    font_.BuildGlyphTable();
    record_.viewport = {0, 0, 800, 600};
    printer_.SetLayoutRecorder(&record_);
  }

  // Prints `text` as it stands (through "%s") and returns the drawn characters.
  std::string Drawn(const std::string& text, int x = 10, int y = 100) {
    record_.Clear();
    printer_.Print(x, y, "%s", text.c_str());
    std::string drawn;
    for (const GlyphQuad& quad : record_.quads) {
      if (!quad.shadowPass) drawn.push_back(static_cast<char>(quad.character));
    }
    return drawn;
  }

  Font font_;
  TextPrinter printer_{font_};
  TextLayoutRecord record_;
};

TEST_F(LayoutTest, MalformedEscapesAreDrawnAsTheyStand) {
  const std::vector<std::string> malformed = {
      "\\c(255 0)X", "\\c255 0 0)X", "\\a(1 2 3)X", "\\bX", "\\b",          "\\i=Y",      "\\c",
      "\\c(",        "\\c(-)",       "\\c( )",      "\\a(", "\\c(+ 1 2 3)", "\\c(1 2 x3)"};
  for (const std::string& text : malformed) {
    EXPECT_EQ(Drawn(text), text) << text;
    ASSERT_FALSE(record_.quads.empty());
    for (size_t k = 0; k < record_.quads.size(); ++k) {
      EXPECT_EQ(record_.quads[k].x, 10 + 12 * static_cast<int64_t>(k)) << text;  // one glyph each
      EXPECT_EQ(record_.quads[k].color, kDefaultTextColor) << text;
      EXPECT_EQ(record_.quads[k].slant, 0) << text;
    }
  }
}

TEST_F(LayoutTest, AMalformedEscapeDoesNotSwallowAWellFormedOneAfterIt) {
  EXPECT_EQ(Drawn("\\c(1 2\\c(0 255 0)Z"), "\\c(1 2Z");
  EXPECT_EQ(record_.quads.back().color, (TextColor{0.0f, 1.0f, 0.0f, 1.0f}));
  EXPECT_EQ(record_.quads.back().x, 10 + 6 * 12);
}

TEST_F(LayoutTest, WellFormedEscapesTakeNoRoom) {
  EXPECT_EQ(Drawn("a\\b+b\\i+c\\i-\\b-d\\c(0 0 0)e\\a(1 2 3 4)f"), "abbccdef");
  const std::vector<int64_t> xs = {10, 22, 23, 34, 35, 46, 58, 70};
  ASSERT_EQ(record_.quads.size(), xs.size());
  for (size_t k = 0; k < xs.size(); ++k) EXPECT_EQ(record_.quads[k].x, xs[k]) << k;
  EXPECT_EQ(record_.quads[2].slant, 0);
  EXPECT_EQ(record_.quads[4].slant, 8);
  EXPECT_EQ(record_.quads[5].slant, 0);
  EXPECT_EQ(record_.quads[6].color, (TextColor{0.0f, 0.0f, 0.0f, 1.0f}));
  EXPECT_FLOAT_EQ(record_.quads[7].color[3], 4.0f / 255.0f);
}

TEST_F(LayoutTest, ColourEscapesTakeEverythingUpToTheirParenthesis) {
  // All numbers read, then anything up to the first ")" belongs to the escape.
  EXPECT_EQ(Drawn("\\c(255 0 0 junk)A"), "A");
  EXPECT_EQ(record_.quads[0].x, 10);
  EXPECT_EQ(record_.quads[0].color, (TextColor{1.0f, 0.0f, 0.0f, 1.0f}));
}

TEST_F(LayoutTest, AColourEscapeWithoutItsParenthesisTakesTheRestOfTheText) {
  // Every number read, no ")" after them: the colour changes and nothing after the escape is drawn.
  const struct {
    const char* text;
    const char* drawn;
  } cases[] = {
      {"AB\\c(255 0 0CD", "AB"},
      {"A\\a(1 2 3 4", "A"},
      {"A\\c(1 2 3 x\\b+Y", "A"},
      {"A\\c(1 2 3 (", "A"},
      {"A\\c(1 2\\c(0 255 0Z", "A\\c(1 2"},  // the first lacks a number, the second its ")"
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Drawn(c.text), c.drawn);
    for (const GlyphQuad& quad : record_.quads) EXPECT_EQ(quad.color, kDefaultTextColor);
  }
}

TEST_F(LayoutTest, ColourNumbersAreNotClampedAndHugeOnesSaturate) {
  Drawn("\\c(510 -255 0)A");
  EXPECT_FLOAT_EQ(record_.quads[0].color[0], 2.0f);
  EXPECT_FLOAT_EQ(record_.quads[0].color[1], -1.0f);
  Drawn("\\c(99999999999999999999 -99999999999999999999 7)A");
  EXPECT_FLOAT_EQ(record_.quads[0].color[0], static_cast<float>(INT_MAX) * (1.0f / 255.0f));
  EXPECT_FLOAT_EQ(record_.quads[0].color[1], static_cast<float>(INT_MIN) * (1.0f / 255.0f));
  EXPECT_FLOAT_EQ(record_.quads[0].color[2], 7.0f / 255.0f);
}

TEST_F(LayoutTest, BackslashesOfTheirOwn) {
  EXPECT_EQ(Drawn("x\\\\y"), "x\\\\y");
  EXPECT_EQ(Drawn("ab\\"), "ab");
  EXPECT_EQ(Drawn("\\"), "");
  EXPECT_EQ(Drawn("\\\\b+Q"), "\\QQ");  // the second backslash starts an escape of its own
  EXPECT_EQ(record_.quads.size(), 3u);
}

TEST_F(LayoutTest, OutputIsCutAt1023Characters) {
  record_.viewport = {0, 0, INT_MAX, 600};
  printer_.SetSize(1);
  const std::string text(2000, 'w');
  EXPECT_EQ(Drawn(text, 0).size(), 1023u);
  EXPECT_EQ(record_.quads.back().x, 1022);
}

TEST_F(LayoutTest, TheRightEdgeEndsEverythingAfterIt) {
  record_.viewport = {0, 0, 256, 128};
  EXPECT_EQ(Drawn("ABCDEFGHIJKLMNOPQRSTUVWXYZ\nnext line", 5, 60), "ABCDEFGHIJKLMNOPQRSTU");
  EXPECT_EQ(record_.quads.back().x, 245);
  record_.viewport = {100, 0, 20, 128};  // the edge is the viewport's x plus its width
  EXPECT_EQ(Drawn("ABCDEFGHIJ", 96, 60), "ABC");
}

TEST_F(LayoutTest, BoxStopsAtItsBottomAfterANewline) {
  printer_.SetSize(18);
  printer_.SetBox(150, 430, 600, 20);
  EXPECT_EQ(Drawn("ab\ncd"), "ab");
  EXPECT_EQ(record_.scissor, (std::array<int, 4>{150, 410, 600, 20}));
}

TEST_F(LayoutTest, HostileSizesAndBoxesEndCleanly) {
  const std::string text = "\tab\n\\b+cd\\i+\t\te\nf";
  for (int size : {INT_MAX, INT_MIN, -7, 0, 1 << 20}) {
    printer_.SetSize(size);
    Drawn(text, INT_MAX, INT_MIN);
    EXPECT_GE(record_.scissor[2], 0) << size;
    EXPECT_GE(record_.scissor[3], 0) << size;
    EXPECT_LE(record_.quads.size(), 3 * text.size());
    printer_.SetSize(size);
    printer_.SetBox(INT_MIN, INT_MAX, -50, INT_MIN);
    Drawn(text);
    EXPECT_LE(record_.quads.size(), 3 * text.size());
  }
  EXPECT_EQ(printer_.Attributes().size, 12);
}

TEST_F(LayoutTest, NullOrEmptyFormatDrawsNothing) {
  record_.Clear();
  printer_.Print(0, 0, nullptr);
  EXPECT_TRUE(record_.quads.empty());
  EXPECT_EQ(Drawn(""), "");
}

// Many short texts built from escape fragments: every Print must end, draw at most three quads
// per character, and leave the attributes at their defaults.
TEST_F(LayoutTest, EscapeSoupAlwaysEnds) {
  const std::vector<std::string> pieces = {"\\", "c",    "a",         "b",   "i",   "(",  ")",  "+",
                                           "-",  " ",    "0",         "255", "-1",  "x",  "\t", "\n",
                                           "%",  "\\c(", "\\a(1 2 3", ")",   "\\b", "\\i"};
  uint32_t state = 12345;
  auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int count = static_cast<int>(next() % 24);
    for (int k = 0; k < count; ++k) text += pieces[next() % pieces.size()];
    if (next() % 3 == 0) printer_.EnableShadow();
    if (next() % 4 == 0) printer_.SetBox(0, 600, 800, 600);
    Drawn(text);
    ASSERT_LE(record_.quads.size(), 3 * text.size()) << text;
    ASSERT_EQ(printer_.Attributes().textColor, kDefaultTextColor);
    ASSERT_FALSE(printer_.Attributes().bold);
    ASSERT_FALSE(printer_.Attributes().italic);
  }
}

}  // namespace
