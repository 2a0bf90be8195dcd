// BackgroundPanel: the picture it keeps and uploads, and the turning, mirrored quad it draws
#include <GL/gl.h>

#include <cmath>
#include <filesystem>
#include <functional>

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

TEST_F(BackgroundPanelTest, KeepsTheDecodedPictureAndAnUndecodableOneLeavesAnEmptyTexture) {
  BackgroundPanel panel(10, 10, 10);
  const auto grey = [](unsigned, unsigned, unsigned char* p) { p[0] = p[1] = p[2] = 200; };
  const std::pair<std::function<void()>, int> cases[] = {
      // the file as left, the width it gives
      {[] {}, 0},
      {[&] { testsupport::WriteTestJpeg("textures/bg1.jpg", 16, 8, grey); }, 16},
      {[] { std::filesystem::resize_file("textures/bg1.jpg", 50); }, 0}};
  for (const auto& [leaveFile, width] : cases) {  // each a restart: the new picture replaces the old
    SCOPED_TRACE(width);
    leaveFile();
    EXPECT_TRUE(panel.LoadTexture());
    EXPECT_EQ(std::make_pair(panel.Width(), panel.Height()), std::make_pair(width, width / 2));
    EXPECT_EQ(TextureWidth(panel.Texture()), width);  // never a size without pixels
    EXPECT_NEAR(panel.Pixels() != nullptr ? panel.Pixels()[0] : 0, width > 0 ? 200 : 0, 3);
    panel.Draw();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }
}

TEST_F(BackgroundPanelTest, DrawsTheQuadFiveInTurnedOneDegreeMoreEachFrame) {
  BackgroundPanel panel(10, 10, 10);
  panel.LoadTexture();
  glMatrixMode(GL_PROJECTION);
  glOrtho(-8, 8, -8, 8, -10, 10);
  glMatrixMode(GL_TEXTURE);
  glTranslatef(0.5f, 0, 0);  // whatever an earlier scene left is reset
  glMatrixMode(GL_MODELVIEW);
  glTranslatef(3, 0, 0);  // ignored: the panel draws from the identity
  for (int frame = 1; frame <= 3; ++frame) {
    std::vector<std::array<testsupport::FeedbackVertex, 4>> quads;
    ASSERT_TRUE(testsupport::JoinQuads(testsupport::CapturePolygons([&] { panel.Draw(); }), quads));
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_EQ(panel.Angle(), static_cast<float>(frame));
    // Corners from (-5, -5) counter-clockwise; s runs along y, t along x: the picture shows
    // mirrored about its diagonal.
    const double a = frame * M_PI / 180, corners[4][2] = {{-5, -5}, {5, -5}, {5, 5}, {-5, 5}};
    for (int k = 0; k < 4; ++k) {
      const auto& v = quads[0][k];
      EXPECT_NEAR(v.x, (corners[k][0] * std::cos(a) - corners[k][1] * std::sin(a) + 8) * 4, 1e-3);
      EXPECT_NEAR(v.y, (corners[k][0] * std::sin(a) + corners[k][1] * std::cos(a) + 8) * 4, 1e-3);
      EXPECT_NEAR(v.z, (5.0 + 10) / 20, 1e-5);  // z = -5
      EXPECT_EQ(v.texCoord[0], corners[k][1] > 0 ? 1 : 0);
      EXPECT_EQ(v.texCoord[1], corners[k][0] > 0 ? 1 : 0);
      EXPECT_EQ(v.color, (std::array<float, 4>{1, 1, 1, 0.5f}));
    }
  }
}

}  // namespace
