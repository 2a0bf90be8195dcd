// The headless GL context: what it offers, and that GL 1.1 drawing works in it
#include <GL/gl.h>
#include <GL/glu.h>

#include "support/GLTest.h"

namespace {

class HeadlessGLTest : public testsupport::GLTest {
 protected:
  HeadlessGLTest() : GLTest(64, 32) {}
};

TEST_F(HeadlessGLTest, ClearColourReachesTheFramebuffer) {
  glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  const auto pixels = ReadPixels();
  ASSERT_EQ(pixels.size(), 64u * 32u * 4u);
  EXPECT_EQ(pixels[0], 255);
  EXPECT_EQ(pixels[1], 0);
  EXPECT_EQ(pixels[pixels.size() - 4], 255);
}

TEST_F(HeadlessGLTest, CompatibilityProfileKeepsImmediateModeAndFeedback) {
  glViewport(0, 0, 64, 32);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluOrtho2D(0, 64, 0, 32);
  const auto feedback = testsupport::CaptureFeedback([] {
    glBegin(GL_POINTS);
    glColor3f(0.0f, 1.0f, 0.0f);
    glVertex2f(10.0f, 20.0f);
    glEnd();
  });
  // GL_POINT_TOKEN, x, y, z, r, g, b, a, s, t, r, q
  ASSERT_EQ(feedback.size(), 12u);
  EXPECT_EQ(feedback[0], static_cast<float>(GL_POINT_TOKEN));
  EXPECT_FLOAT_EQ(feedback[1], 10.0f);
  EXPECT_FLOAT_EQ(feedback[2], 20.0f);
  EXPECT_FLOAT_EQ(feedback[5], 1.0f);
}

TEST(HeadlessGL, RecreateAfterDestroyGivesAFreshContext) {
  platform::HeadlessGL gl;
  ASSERT_TRUE(gl.Create({16, 16, 16, 16})) << gl.LastError();
  glClearColor(0, 0, 1, 1);
  gl.Destroy();
  EXPECT_FALSE(gl.IsCreated());
  ASSERT_TRUE(gl.Create({16, 16, 32, 16})) << gl.LastError();
  GLfloat clear[4];
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  EXPECT_EQ(clear[2], 0.0f);  // a new context starts from the default clear colour
}

}  // namespace
