// BackgroundPanel: the picture it keeps and uploads, and the turning, mirrored quad it draws
#include <GL/gl.h>

#include <cmath>
#include <filesystem>

#include "effects/BackgroundPanel.h"
#include "support/GLTest.h"
#include "support/TestJpeg.h"

namespace {

class BackgroundPanelTest : public testsupport::GLTest {
 protected:
  BackgroundPanelTest() : GLTest(64, 64) {}
  testsupport::ScopedChdir cwd_;
};

GLint TextureWidth(GLuint texture) {
  GLint width = -1;
  glBindTexture(GL_TEXTURE_2D, texture);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  return width;
}

TEST_F(BackgroundPanelTest, KeepsTheDecodedPictureAndAMissingOneLeavesAnEmptyTexture) {
  BackgroundPanel panel(10, 10, 10);
  EXPECT_EQ(panel.Width(), 256);  // until a picture is decoded
  EXPECT_TRUE(panel.LoadTexture());
  EXPECT_EQ(panel.Width(), 0);  // no picture: an empty texture, not a size without pixels
  EXPECT_EQ(panel.Height(), 0);
  EXPECT_EQ(panel.Pixels(), nullptr);
  EXPECT_EQ(TextureWidth(panel.Texture()), 0);
  panel.Draw();
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

  const auto grey = [](unsigned, unsigned, unsigned char* p) { p[0] = p[1] = p[2] = 200; };
  ASSERT_TRUE(testsupport::WriteTestJpeg("textures/bg1.jpg", 16, 8, grey));
  EXPECT_TRUE(panel.LoadTexture());  // a restart loads again: the new picture replaces the old
  EXPECT_EQ(panel.Width(), 16);
  EXPECT_EQ(panel.Height(), 8);
  ASSERT_NE(panel.Pixels(), nullptr);
  EXPECT_NEAR(panel.Pixels()[0], 200, 3);
  EXPECT_EQ(TextureWidth(panel.Texture()), 16);
  std::filesystem::resize_file("textures/bg1.jpg", 50);
  EXPECT_TRUE(panel.LoadTexture());
  EXPECT_EQ(panel.Pixels(), nullptr);
  EXPECT_EQ(panel.Width(), 0);
}

TEST_F(BackgroundPanelTest, DrawsTheQuadFiveInTurnedOneDegreeMoreEachFrame) {
  BackgroundPanel panel(10, 10, 10);
  panel.LoadTexture();
  glMatrixMode(GL_PROJECTION);
  glOrtho(-8, 8, -8, 8, -10, 10);
  glMatrixMode(GL_TEXTURE);
  glTranslatef(0.5f, 0, 0);  // whatever an earlier scene left is reset
  glMatrixMode(GL_MODELVIEW);
  glTranslatef(3, 0, 0);  // ignored: the panel draws from the identity, and keeps this
  for (int frame = 1; frame <= 3; ++frame) {
    std::vector<std::array<testsupport::FeedbackVertex, 4>> quads;
    ASSERT_TRUE(testsupport::JoinQuads(testsupport::CapturePolygons([&] { panel.Draw(); }), quads));
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_EQ(panel.Angle(), static_cast<float>(frame));
    // Texture (0, 0), (0, 1), (1, 1), (1, 0) at the corners (-5, -5), (5, -5), (5, 5), (-5, 5):
    // s runs along y, t along x, so the picture shows mirrored about its diagonal.
    const double a = frame * M_PI / 180, corners[4][2] = {{-5, -5}, {5, -5}, {5, 5}, {-5, 5}};
    const float tex[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    for (int k = 0; k < 4; ++k) {
      const auto& v = quads[0][k];
      EXPECT_NEAR(v.x, (corners[k][0] * std::cos(a) - corners[k][1] * std::sin(a) + 8) * 4, 1e-3);
      EXPECT_NEAR(v.y, (corners[k][0] * std::sin(a) + corners[k][1] * std::cos(a) + 8) * 4, 1e-3);
      EXPECT_NEAR(v.z, (5.0 + 10) / 20, 1e-5);  // z = -5
      EXPECT_EQ(v.texCoord[0], tex[k][0]);
      EXPECT_EQ(v.texCoord[1], tex[k][1]);
      EXPECT_EQ(v.color, (std::array<float, 4>{1, 1, 1, 0.5f}));
    }
  }
  GLfloat modelview[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
  EXPECT_EQ(modelview[12], 3.0f);
}

}  // namespace
