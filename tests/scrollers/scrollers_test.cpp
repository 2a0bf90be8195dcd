// The credits and farewell scrollers: the sliding panel, the headline, and the text moving through its box
#include "director/Scrollers.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "support/GLTest.h"
#include "support/Projection.h"

namespace {

// The panel goes to GL (a small window keeps it cheap); the printer's quads go to its recorder.
class ScrollerTest : public testsupport::GLTest {
 protected:
  ScrollerTest() : GLTest(80, 60) {}
  void SetUp() override {
    GLTest::SetUp();
    glMatrixMode(GL_PROJECTION);
    gluPerspective(45.0, 60.0 / 80, 0.1f, 200.0);  // the demo's projection
    font_.BuildGlyphTable();
    record_.viewport = {0, 0, 800, 600};
    printer_.SetLayoutRecorder(&record_);
  }
  // Draws `frames` frames at programme time t; the record keeps the last one's quads.
  void Run(bool farewell, int t, int frames) {
    for (int i = 0; i < frames; ++i) {
      record_.Clear();
      (farewell ? FarewellScroller : CreditsScroller)(t, state_, printer_, 0);
    }
  }
  // The glyph-pass characters printed with their lower edge at y.
  std::string Line(int64_t y) const {
    std::string line;
    for (const GlyphQuad& q : record_.quads)
      line += !q.shadowPass && q.y == y ? std::string(1, q.character) : "";
    return line;
  }

  Font font_;
  TextPrinter printer_{font_};
  TextLayoutRecord record_;
  ScrollerState state_;
};

TEST_F(ScrollerTest, TheTextMovesOneCharacterEveryTenTextFramesAndStopsAtItsEnd) {
  const std::string credits(kCreditsText), farewell(kFarewellText), spaces(12, ' ');
  const struct {
    const char* what;
    bool farewell;
    int t, frames;
    std::string line;  // the box's line after the last frame
    unsigned position;
    bool finished;
  } cases[] = {
      {"no text up to 5000", false, 5000, 3, "", 0, false},
      {"first text frame", false, 5001, 1, spaces, 0, false},
      {"tenth frame after the first", false, 9000, 11, credits.substr(1, 13), 1, false},
      {"position 10: all 22 drawn", false, 9000, 101, credits.substr(10, 22), 10, false},
      {"position 30: the box shows 33", false, 9000, 301, credits.substr(30, 33), 30, false},
      {"one before the end", false, 9000, 1140, credits.substr(113, 13), 113, false},
      {"the end in view", false, 9000, 1141, spaces, 114, true},
      {"and there it stays", false, 18000, 1500, spaces, 114, true},
      {"farewell text at once", true, 158000, 1, spaces, 0, false},
      {"farewell end", true, 185000, 2500, spaces, 208, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    state_ = ScrollerState{};
    Run(c.farewell, c.t, c.frames);
    EXPECT_EQ(Line(412), c.line);
    EXPECT_EQ(state_.position, c.position);
    EXPECT_EQ(state_.finished, c.finished);
    EXPECT_EQ(state_.text, c.line.empty() ? "" : c.farewell ? farewell : credits);
    EXPECT_EQ(Line(5), kScrollerHeadline);
    EXPECT_EQ(record_.quads.front().size, c.farewell ? 18 : 28);
    if (c.line.empty()) continue;
    // The box line: size 18 from (150, 412), grey 0.2, a black shadow one up and right.
    const GlyphQuad& shadow = record_.quads[23];
    const GlyphQuad& glyph = record_.quads[24];
    EXPECT_EQ(shadow.x, 151);
    EXPECT_EQ(shadow.color, (TextColor{0, 0, 0, 1}));
    EXPECT_EQ(glyph.x, 150);
    EXPECT_EQ(glyph.size, 18);
    EXPECT_EQ(glyph.color, (TextColor{0.2f, 0.2f, 0.2f, 1}));
  }
}

TEST_F(ScrollerTest, ThePanelSlidesDownForFiveSecondsThenRests) {
  // Programme time and slide; the farewell from 158000 on.
  const std::pair<int, float> cases[] = {
      {0, 0}, {2500, 2500 * 0.0036f}, {5000, 18}, {18000, 18}, {158000, 18}};
  for (const auto& [t, slide] : cases) {
    SCOPED_TRACE(t);
    const auto polygons = testsupport::CapturePolygons([&] { Run(t >= 158000, t, 1); });
    // Where the panel's corners land: 20 x 20 at depth -30, centred at x = -1 and height 24 - slide.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(-1, 24 - slide, 0);
    const auto low = testsupport::ProjectPoint(-10, -10, -30), high = testsupport::ProjectPoint(10, 10, -30);
    if (low[1] > 60) {
      EXPECT_TRUE(polygons.empty());  // above the top of the screen
      continue;
    }
    double bottom = 1e9, area = 0;  // the panel fills the screen from its lower edge up, between its sides
    for (const auto& polygon : polygons) {
      for (size_t k = 0; k < polygon.size(); ++k) {
        const auto &v = polygon[k], &w = polygon[(k + 1) % polygon.size()];
        bottom = std::min<double>(bottom, v.y), area += (v.x * w.y - w.x * v.y) / 2;
      }
    }
    EXPECT_NEAR(bottom, low[1], 1e-2);
    EXPECT_NEAR(std::fabs(area), (high[0] - std::max(0.0, low[0])) * (std::min(60.0, high[1]) - low[1]), 0.1);
    EXPECT_LT(high[0], 79.5f);  // a thin strip stays free on the right
  }
}

}  // namespace
