// Scrollers: one recipe, two tables (see Scrollers.h)
#include "director/Scrollers.h"

#include <GL/gl.h>

#include <algorithm>
#include <climits>

namespace {

// Every piece of these texts goes to the printer as its format, so none may hold a conversion.
constexpr bool HoldsPerCentSign(std::string_view text) { return text.find('%') != std::string_view::npos; }
static_assert(!HoldsPerCentSign(kCreditsText) && !HoldsPerCentSign(kFarewellText) &&
              !HoldsPerCentSign(kScrollerHeadline));
static_assert(kCreditsText.size() == 126 && kFarewellText.size() == 220);

struct ScrollerRecipe {
  int headlineSize;
  std::string_view text;
};

constexpr ScrollerRecipe kCreditsRecipe = {28, kCreditsText};
constexpr ScrollerRecipe kFarewellRecipe = {18, kFarewellText};

constexpr float kSlideUnitsPerMs = 0.0036f;
constexpr float kSlideDistance = 18.0f;
constexpr unsigned int kVisibleCharacters = 12;  // the piece is position + this long
constexpr int kFramesPerCharacter = 10;

// Panel: 20 x 20 units at depth -30, sliding from a centre height of 24 down to 6.
void DrawBackdrop(int localTime, unsigned int backdropTexture) {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  const float slide =
      localTime >= kScrollerTextStartMs ? kSlideDistance : static_cast<float>(localTime) * kSlideUnitsPerMs;
  glColor3f(1.0f, 1.0f, 1.0f);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_ALPHA_TEST);
  glBindTexture(GL_TEXTURE_2D, backdropTexture);
  glPushMatrix();
  glTranslatef(-1.0f, 24.0f - slide, 0.0f);
  glBegin(GL_TRIANGLE_STRIP);
  glTexCoord2f(0.0f, 1.0f);
  glVertex3f(-10.0f, 10.0f, -30.0f);
  glTexCoord2f(1.0f, 1.0f);
  glVertex3f(10.0f, 10.0f, -30.0f);
  glTexCoord2f(0.0f, 0.0f);
  glVertex3f(-10.0f, -10.0f, -30.0f);
  glTexCoord2f(1.0f, 0.0f);
  glVertex3f(10.0f, -10.0f, -30.0f);
  glEnd();
  glPopMatrix();
}

void DrawScrollingText(const ScrollerRecipe& recipe, ScrollerState& state, TextPrinter& printer) {
  if (state.text.empty()) state.text.assign(recipe.text);
  printer.SetSize(18);
  printer.SetShadowColor(0.0f, 0.0f, 0.0f);
  printer.SetColor(0.2f, 0.2f, 0.2f);
  printer.EnableShadow();
  if (state.frameCount > 0 && state.frameCount % kFramesPerCharacter == 0 && !state.finished)
    ++state.position;
  if (state.position + kVisibleCharacters >= state.text.size()) state.finished = true;
  printer.SetBox(150, 430, 600, 20);
  // The piece widens with the position; the box shows at most its first 33 characters.
  const size_t start = std::min<size_t>(state.position, state.text.size());
  state.piece.assign(state.text, start, size_t{state.position} + kVisibleCharacters);
  printer.Print(-1, -1, state.piece.c_str());
  // Only the advance reads the count, and only until the text is finished.
  if (state.frameCount < INT_MAX) ++state.frameCount;
}

void RunScroller(const ScrollerRecipe& recipe, int localTime, ScrollerState& state, TextPrinter& printer,
                 unsigned int backdropTexture) {
  DrawBackdrop(localTime, backdropTexture);
  printer.SetSize(recipe.headlineSize);
  printer.Print(5, 5, kScrollerHeadline);
  if (localTime <= kScrollerTextStartMs) return;
  DrawScrollingText(recipe, state, printer);
}

}  // namespace

void CreditsScroller(int t, ScrollerState& state, TextPrinter& printer, unsigned int backdropTexture) {
  RunScroller(kCreditsRecipe, t, state, printer, backdropTexture);
}

// The farewell's local time runs from 56000 at its start: its panel is already at rest and
// its text moves from the first frame.
void FarewellScroller(int t, ScrollerState& state, TextPrinter& printer, unsigned int backdropTexture) {
  RunScroller(kFarewellRecipe, t - kFarewellTimeOffsetMs, state, printer, backdropTexture);
}
