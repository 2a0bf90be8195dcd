// BackgroundPanel: the turning quad, its texture mapping, state restoring and empty upload
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "effects/BackgroundPanel.h"
#include "support/GLTest.h"
#include "support/TestJpeg.h"

namespace {

class BackgroundPanelTest : public testsupport::GLTest {
 protected:
  BackgroundPanelTest() : GLTest(64, 64) {}
  void SetUp() override {
    GLTest::SetUp();
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(testsupport::ScratchDir());
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    GLTest::TearDown();
  }

 private:
  std::filesystem::path previous_;
};

TEST_F(BackgroundPanelTest, ConstructionValues) {
  BackgroundPanel panel(10, 10, 10);
  EXPECT_EQ(panel.Angle(), 0.0f);
  EXPECT_EQ(panel.AngleStep(), 1.0f);
  EXPECT_EQ(panel.Width(), 256);
  EXPECT_EQ(panel.Height(), 256);
  EXPECT_EQ(panel.Pixels(), nullptr);
}

TEST_F(BackgroundPanelTest, MissingPictureGivesAnEmptyTextureNotAFalseSize) {
  BackgroundPanel panel(10, 10, 10);
  EXPECT_TRUE(panel.LoadTexture());
  EXPECT_NE(panel.Texture(), 0u);
  EXPECT_EQ(panel.Width(), 0);
  EXPECT_EQ(panel.Height(), 0);
  EXPECT_EQ(panel.Pixels(), nullptr);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  GLint width = -1, wrapS = 0, wrapT = 0, minFilter = 0;
  glBindTexture(GL_TEXTURE_2D, panel.Texture());
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(wrapS, GL_CLAMP);
  EXPECT_EQ(wrapT, GL_REPEAT);
  EXPECT_EQ(minFilter, GL_LINEAR);
  panel.Draw();  // draws untextured
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(BackgroundPanelTest, QuadTurnsOneDegreePerFrameWithMirroredTexture) {
  BackgroundPanel panel(10, 10, 10);
  panel.LoadTexture();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-8, 8, -8, 8, -10, 10);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(3, 0, 0);  // ignored: the panel draws from the identity
  const std::vector<float> feedback = testsupport::CaptureFeedback([&] { panel.Draw(); });
  EXPECT_EQ(panel.Angle(), 1.0f);
  // Back as two triangles; each vertex is one of the four corners, found by its texture
  // coordinate, and all four appear.
  ASSERT_EQ(feedback.size(), 2 * (2u + 3 * 11));
  const double a = 1.0 * M_PI / 180;
  const float corners[4][2] = {{-5, -5}, {5, -5}, {5, 5}, {-5, 5}};
  const float tex[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
  bool seen[4] = {false, false, false, false};
  for (int n = 0; n < 6; ++n) {
    ASSERT_EQ(feedback[(n / 3) * 35], GL_POLYGON_TOKEN);
    const float* rec = &feedback[(n / 3) * 35 + 2 + (n % 3) * 11];
    int v = 0;
    while (v < 4 && !(rec[7] == tex[v][0] && rec[8] == tex[v][1])) ++v;
    ASSERT_LT(v, 4) << "unexpected texture coordinate";
    seen[v] = true;
    const double x = corners[v][0] * std::cos(a) - corners[v][1] * std::sin(a);
    const double y = corners[v][0] * std::sin(a) + corners[v][1] * std::cos(a);
    EXPECT_NEAR(rec[0], (x + 8) / 16 * 64, 1e-3);
    EXPECT_NEAR(rec[1], (y + 8) / 16 * 64, 1e-3);
    EXPECT_NEAR(rec[2], (5.0 + 10) / 20, 1e-5);  // z = -5 in front of the eye
    EXPECT_FLOAT_EQ(rec[6], 0.5f);               // colour (1, 1, 1, 0.5)
  }
  EXPECT_TRUE(seen[0] && seen[1] && seen[2] && seen[3]);
  for (int i = 1; i < 360; ++i) panel.Draw();
  EXPECT_EQ(panel.Angle(), 360.0f);
}

TEST_F(BackgroundPanelTest, DrawLeavesEveryStateAsItFoundIt) {
  BackgroundPanel panel(10, 10, 10);
  panel.LoadTexture();
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_LIGHTING);
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  glColor4f(0.25f, 0.5f, 0.75f, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(1, 2, 3);
  GLfloat before[16], after[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, before);
  panel.Draw();
  glGetFloatv(GL_MODELVIEW_MATRIX, after);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(before[i], after[i]);
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  GLint mode[2];
  glGetIntegerv(GL_POLYGON_MODE, mode);
  EXPECT_EQ(mode[0], GL_LINE);
  GLfloat colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_EQ(colour[0], 0.25f);
  GLint matrixMode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
  EXPECT_EQ(matrixMode, GL_MODELVIEW);
}

TEST_F(BackgroundPanelTest, KeepsOneCopyOfThePictureAcrossReloads) {
  const auto grey = [](unsigned, unsigned, unsigned char* p) { p[0] = p[1] = p[2] = 200; };
  ASSERT_TRUE(testsupport::WriteTestJpeg("textures/bg1.jpg", 16, 8, grey));
  BackgroundPanel panel(10, 10, 10);
  EXPECT_TRUE(panel.LoadTexture());
  EXPECT_EQ(panel.Width(), 16);
  EXPECT_EQ(panel.Height(), 8);
  ASSERT_NE(panel.Pixels(), nullptr);
  EXPECT_NEAR(panel.Pixels()[0], 200, 3);
  EXPECT_EQ(panel.Pixels()[3], 125);  // the reader's alpha, kept as decoded
  GLint width = 0;
  glBindTexture(GL_TEXTURE_2D, panel.Texture());
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  EXPECT_EQ(width, 16);

  // A restart reloads: the new picture replaces the old one.
  ASSERT_TRUE(testsupport::WriteTestJpeg("textures/bg1.jpg", 8, 8, grey));
  EXPECT_TRUE(panel.LoadTexture());
  EXPECT_EQ(panel.Width(), 8);
  ASSERT_NE(panel.Pixels(), nullptr);
  // A damaged picture: no pixels kept, an empty texture, no GL error.
  std::filesystem::resize_file("textures/bg1.jpg", 50);
  EXPECT_TRUE(panel.LoadTexture());
  EXPECT_EQ(panel.Pixels(), nullptr);
  EXPECT_EQ(panel.Width(), 0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
