// The credits and farewell scrollers on the headless context
#include "director/Scrollers.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "support/FeedbackPolygons.h"
#include "support/GLTest.h"
#include "text/Font.h"
#include "text/TextPrinter.h"

namespace {

using testsupport::FeedbackPolygon;
using Quad = std::array<testsupport::FeedbackVertex, 4>;

constexpr int Width = 800;
constexpr int Height = 600;

size_t CountLeading(std::string_view text, char c) { return text.find_first_not_of(c); }
size_t CountTrailing(std::string_view text, char c) { return text.size() - 1 - text.find_last_not_of(c); }

TEST(ScrollerTexts, HoldTheirWordsAndSpacesAndNoPerCentSign) {
  EXPECT_EQ(kCreditsText.size(), 126u);
  EXPECT_EQ(CountLeading(kCreditsText, ' '), 15u);
  EXPECT_EQ(CountTrailing(kCreditsText, ' '), 23u);
  EXPECT_EQ(kCreditsText.substr(15, 88),
            "Code: Brumlys, Textures and Music: Vorlan, Coded, designed and loathed at Frostmoot 2002");
  EXPECT_EQ(kFarewellText.size(), 220u);
  EXPECT_EQ(CountLeading(kFarewellText, ' '), 18u);
  EXPECT_EQ(CountTrailing(kFarewellText, ' '), 52u);
  const std::string_view first =
      "Orvik and Caldermar we bid you farewell. A shame that FM has gotten so game-oriented.. See ya..";
  const std::string_view second = "You may press escape now....";
  EXPECT_EQ(kFarewellText.substr(18, first.size()), first);
  EXPECT_EQ(kFarewellText.substr(18 + first.size(), 27), std::string(27, ' '));
  EXPECT_EQ(kFarewellText.substr(18 + first.size() + 27, second.size()), second);
  EXPECT_EQ(std::string_view(kScrollerHeadline), "Z.R.M. - Frostmoot 2002");
  for (std::string_view text : {kCreditsText, kFarewellText, std::string_view(kScrollerHeadline)}) {
    EXPECT_EQ(text.find('%'), std::string_view::npos);
    EXPECT_EQ(text.find('\\'), std::string_view::npos);
  }
}

class ScrollerTest : public testsupport::GLTest {
 protected:
  ScrollerTest() : GLTest(Width, Height) {}

  void SetUp() override {
    GLTest::SetUp();
    SetUpContext();
  }

  // What start-up and the window set: the projection, the font and the backdrop.
  void SetUpContext() {
    glViewport(0, 0, Width, Height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(Height) / Width, 0.1f, 200.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    font_.BuildGlyphTable();
    font_.texture = MakeFontTexture();
    backdrop_ = MakeSolidTexture(0, 0, 255);
  }

  // 256 x 256 alpha: every cell opaque except the space's, so words show as solid blocks.
  static GLuint MakeFontTexture() {
    std::vector<unsigned char> alpha(256 * 256, 255);
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x)
        alpha[(13 * 16 + y) * 256 + x] = 0;  // cell 32: column 0, row 2 from the top
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, 256, 256, 0, GL_ALPHA, GL_UNSIGNED_BYTE, alpha.data());
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    return name;
  }

  static GLuint MakeSolidTexture(unsigned char r, unsigned char g, unsigned char b) {
    const unsigned char texels[16] = {r, g, b, 255, r, g, b, 255, r, g, b, 255, r, g, b, 255};
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    return name;
  }

  struct Frame {
    std::vector<FeedbackPolygon> panel;  // the backdrop, far away (window depth near 1)
    std::vector<Quad> headline;          // glyphs on the bottom line
    std::vector<Quad> text;              // glyphs in the box, shadow and glyph passes
  };

  Frame Capture(bool farewell, int t, ScrollerState& state) {
    const auto feedback = testsupport::CaptureFeedback([&] {
      farewell ? FarewellScroller(t, state, printer_, backdrop_)
               : CreditsScroller(t, state, printer_, backdrop_);
    });
    Frame frame;
    std::vector<FeedbackPolygon> glyphs;
    for (const FeedbackPolygon& polygon : testsupport::ParseFeedbackPolygons(feedback)) {
      (polygon[0].z > 0.9f ? frame.panel : glyphs).push_back(polygon);
    }
    std::vector<Quad> quads;
    EXPECT_TRUE(testsupport::JoinQuads(glyphs, quads));
    for (const Quad& quad : quads) (quad[0].y < 100.0f ? frame.headline : frame.text).push_back(quad);
    return frame;
  }

  // Window position of a panel corner for a given slide, under the current projection.
  static std::array<double, 2> ProjectPanelCorner(double x, double y, float slide) {
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    const GLdouble modelview[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -1, 24.0f - slide, 0, 1};
    const GLint viewport[4] = {0, 0, Width, Height};
    GLdouble wx = 0, wy = 0, wz = 0;
    gluProject(x, y, -30, modelview, projection, viewport, &wx, &wy, &wz);
    return {wx, wy};
  }

  static std::array<float, 4> Extent(const std::vector<FeedbackPolygon>& polygons) {
    std::array<float, 4> e = {1e9f, 1e9f, -1e9f, -1e9f};  // left, bottom, right, top
    for (const auto& polygon : polygons) {
      for (const auto& v : polygon) {
        e = {std::min(e[0], v.x), std::min(e[1], v.y), std::max(e[2], v.x), std::max(e[3], v.y)};
      }
    }
    return e;
  }

  void ExpectHeadline(const Frame& frame, int size) {
    ASSERT_EQ(frame.headline.size(), 23u);
    for (size_t k = 0; k < 23; ++k) {
      const Quad& quad = frame.headline[k];
      EXPECT_NEAR(quad[0].x, 5.0f + size * static_cast<float>(k), 1e-3);
      EXPECT_NEAR(quad[0].y, 5.0f, 1e-3);
      EXPECT_NEAR(quad[2].y, 5.0f + size, 1e-3);
      EXPECT_EQ(quad[0].color, (std::array<float, 4>{1, 1, 1, 1}));
      const auto glyph = font_.glyphs[static_cast<unsigned char>(kScrollerHeadline[k])];
      EXPECT_EQ(quad[0].texCoord[0], glyph.u);
      EXPECT_EQ(quad[0].texCoord[1], glyph.v);
    }
  }

  // Runs text frames through the layout recorder (no glyphs for GL) and returns the characters
  // of the last frame's box line.
  std::string RunTextFrames(bool farewell, int frames, ScrollerState& state) {
    TextLayoutRecord record;
    record.viewport = {0, 0, Width, Height};
    printer_.SetLayoutRecorder(&record);
    glViewport(0, 0, 1, 1);  // the panel still goes to GL: keep its rasterising cheap
    for (int i = 0; i < frames; ++i) {
      record.Clear();
      farewell ? FarewellScroller(170000, state, printer_, backdrop_)
               : CreditsScroller(10000, state, printer_, backdrop_);
    }
    printer_.SetLayoutRecorder(nullptr);
    glViewport(0, 0, Width, Height);
    std::string line;
    for (const GlyphQuad& quad : record.quads) {
      if (!quad.shadowPass && quad.y == 412) line.push_back(static_cast<char>(quad.character));
    }
    return line;
  }

  Font font_;
  TextPrinter printer_{font_};
  GLuint backdrop_ = 0;
};

TEST_F(ScrollerTest, CreditsShowNoTextUpTo5000) {
  ScrollerState state;
  const Frame frame = Capture(false, 5000, state);
  ExpectHeadline(frame, 28);
  EXPECT_TRUE(frame.text.empty());
  EXPECT_FALSE(frame.panel.empty());
  EXPECT_TRUE(state.text.empty());
  EXPECT_EQ(state.frameCount, 0);
}

TEST_F(ScrollerTest, CreditsFirstTextFrameShowsTwelveSpacesWithTheirShadows) {
  ScrollerState state;
  const Frame frame = Capture(false, 5001, state);
  ExpectHeadline(frame, 28);
  ASSERT_EQ(frame.text.size(), 24u);
  const GlyphCoord space = font_.glyphs[' '];
  for (size_t k = 0; k < 12; ++k) {
    const Quad& shadow = frame.text[2 * k];
    const Quad& glyph = frame.text[2 * k + 1];
    EXPECT_NEAR(shadow[0].x, 151.0f + 18 * k, 1e-3);
    EXPECT_NEAR(shadow[0].y, 413.0f, 1e-3);
    EXPECT_EQ(shadow[0].color, (std::array<float, 4>{0, 0, 0, 1}));
    EXPECT_NEAR(glyph[0].x, 150.0f + 18 * k, 1e-3);
    EXPECT_NEAR(glyph[0].y, 412.0f, 1e-3);
    EXPECT_NEAR(glyph[2].x, 168.0f + 18 * k, 1e-3);
    EXPECT_NEAR(glyph[2].y, 430.0f, 1e-3);
    EXPECT_NEAR(glyph[0].color[0], 0.2f, 1e-6);
    EXPECT_NEAR(glyph[0].color[2], 0.2f, 1e-6);
    EXPECT_EQ(glyph[0].texCoord[0], space.u);
    EXPECT_EQ(glyph[0].texCoord[1], space.v);
  }
  EXPECT_EQ(state.text, kCreditsText);
  EXPECT_EQ(state.frameCount, 1);
  EXPECT_EQ(state.position, 0u);
  std::array<int, 4> scissor{};
  glGetIntegerv(GL_SCISSOR_BOX, scissor.data());
  EXPECT_EQ(scissor, (std::array<int, 4>{150, 410, 600, 20}));
}

TEST_F(ScrollerTest, TheTextMovesOneCharacterEveryTenTextFrames) {
  ScrollerState state;
  EXPECT_EQ(RunTextFrames(false, 10, state), std::string(kCreditsText.substr(0, 12)));  // frame counts 0..9
  EXPECT_EQ(state.position, 0u);
  EXPECT_EQ(RunTextFrames(false, 1, state), std::string(kCreditsText.substr(1, 13)));  // frame count 10
  EXPECT_EQ(state.position, 1u);
  RunTextFrames(false, 89, state);
  EXPECT_EQ(RunTextFrames(false, 1, state), std::string(kCreditsText.substr(10, 22)));  // position 10
  RunTextFrames(false, 49, state);
  EXPECT_EQ(state.position, 14u);
  EXPECT_EQ(RunTextFrames(false, 1, state), std::string(kCreditsText.substr(15, 27)));  // frame count 150
  RunTextFrames(false, 149, state);
  EXPECT_EQ(RunTextFrames(false, 1, state), std::string(kCreditsText.substr(30, 33)));  // the box holds 33
  EXPECT_FALSE(state.finished);
}

TEST_F(ScrollerTest, FinishedScrollersStopWithTheirLastTwelveCharacters) {
  ScrollerState credits;
  EXPECT_EQ(RunTextFrames(false, 1140, credits), std::string(13, ' '));  // frame counts 0..1139
  EXPECT_EQ(credits.position, 113u);
  EXPECT_FALSE(credits.finished);
  EXPECT_EQ(RunTextFrames(false, 1, credits), std::string(12, ' '));
  EXPECT_TRUE(credits.finished);
  EXPECT_EQ(credits.position, 114u);
  EXPECT_EQ(RunTextFrames(false, 300, credits), std::string(12, ' '));
  EXPECT_EQ(credits.position, 114u);

  ScrollerState farewell;
  RunTextFrames(true, 2500, farewell);
  EXPECT_TRUE(farewell.finished);
  EXPECT_EQ(farewell.position, 208u);
  EXPECT_EQ(farewell.piece, std::string(12, ' '));
}

TEST_F(ScrollerTest, PanelSlidesDownAndRestsFrom5000) {
  ScrollerState state;
  EXPECT_TRUE(Capture(false, 0, state).panel.empty());  // above the top of the screen
  const auto half = Extent(Capture(false, 2500, state).panel);
  EXPECT_NEAR(half[1], ProjectPanelCorner(-10, -10, 2500 * 0.0036f)[1], 1e-2);
  EXPECT_NEAR(half[3], Height, 1e-3);  // the upper part is still off screen
  const auto rest = Extent(Capture(false, 5000, state).panel);
  EXPECT_NEAR(rest[1], ProjectPanelCorner(-10, -10, 18)[1], 1e-2);
  EXPECT_NEAR(rest[2], ProjectPanelCorner(10, -10, 18)[0], 1e-2);  // a thin strip stays free on the right
  EXPECT_LT(rest[2], Width - 5.0f);
  EXPECT_NEAR(rest[0], 0.0f, 1e-3);
  EXPECT_NEAR(rest[3], Height, 1e-3);
  EXPECT_EQ(Extent(Capture(false, 18000, state).panel), rest);
}

TEST_F(ScrollerTest, FarewellIsAtRestAndScrollingFromItsFirstFrame) {
  ScrollerState credits;
  const auto rest = Extent(Capture(false, 5000, credits).panel);
  ScrollerState state;
  const Frame frame = Capture(true, 158000, state);
  EXPECT_EQ(Extent(frame.panel), rest);
  ExpectHeadline(frame, 18);
  EXPECT_EQ(frame.text.size(), 24u);
  EXPECT_EQ(state.text, kFarewellText);
  EXPECT_EQ(state.frameCount, 1);
}

TEST_F(ScrollerTest, BackdropLeavesItsStateBehind) {
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_CULL_FACE);
  glEnable(GL_LIGHTING);
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  ScrollerState state;
  CreditsScroller(6000, state, printer_, backdrop_);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  GLint modes[2] = {0, 0};
  glGetIntegerv(GL_POLYGON_MODE, modes);
  EXPECT_EQ(modes[0], GL_FILL);
  EXPECT_EQ(modes[1], GL_FILL);
  GLint matrixMode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
  EXPECT_EQ(matrixMode, GL_MODELVIEW);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ScrollerTest, StateSurvivesANewContext) {
  ScrollerState state;
  RunTextFrames(false, 205, state);
  EXPECT_EQ(state.position, 20u);
  // A restart re-creates the window, its context and every texture; the state stays.
  gl_.Destroy();
  platform::HeadlessGLOptions options;
  options.width = Width;
  options.height = Height;
  ASSERT_TRUE(gl_.Create(options));
  SetUpContext();
  EXPECT_EQ(RunTextFrames(false, 6, state), std::string(kCreditsText.substr(21, 33)));
  EXPECT_EQ(state.frameCount, 211);
}

// Whole frames as pixels: the blue panel, the white headline, and the dark text blocks in the box
// moving left by one glyph every ten frames.
TEST_F(ScrollerTest, RenderedFramesShowPanelHeadlineAndMovingText) {
  for (bool farewell : {false, true}) {
    ScrollerState state;
    RunTextFrames(farewell, 50, state);  // frame counts 0..49: the next frame moves to position 5
    const int t = farewell ? 160000 : 12000;
    std::array<int, 2> firstDark{};
    for (int step = 0; step < 2; ++step) {
      glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
      farewell ? FarewellScroller(t, state, printer_, backdrop_)
               : CreditsScroller(t, state, printer_, backdrop_);
      const auto pixels = ReadPixels();
      auto at = [&](int x, int y) { return &pixels[(static_cast<size_t>(y) * Width + x) * 4]; };
      EXPECT_EQ(at(400, 300)[2], 255) << "panel";
      EXPECT_EQ(at(400, 300)[0], 0) << "panel";
      EXPECT_EQ(at(8, 8)[0], 255) << "headline";
      EXPECT_EQ(at(8, 8)[2], 255) << "headline";
      firstDark[step] = -1;
      for (int x = 150; x < 750 && firstDark[step] < 0; ++x) {
        if (at(x, 420)[2] < 80 && at(x, 420)[0] > 30) firstDark[step] = x;  // grey 0.2, not black, not blue
      }
      RunTextFrames(farewell, 9, state);  // the next drawn frame is the tenth after this one
    }
    const int firstWord = farewell ? 18 : 15;
    EXPECT_EQ(firstDark[0], 150 + 18 * (firstWord - 5)) << (farewell ? "farewell" : "credits");
    EXPECT_EQ(firstDark[1], 150 + 18 * (firstWord - 6)) << (farewell ? "farewell" : "credits");
  }
}

}  // namespace
