// The tunnel and torus scenes: their matrices, the state they leave, and headless frames
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "director/EffectScenes.h"
#include "effects/BackgroundPanel.h"
#include "effects/Torus.h"
#include "effects/Tunnel.h"
#include "particles/ParticleSystem.h"
#include "particles/RuntimeRand.h"
#include "support/GLTest.h"
#include "support/TestJpeg.h"

namespace {

class EffectScenesTest : public testsupport::GLTest {
 protected:
  EffectScenesTest() : GLTest(64, 48) {}
  void SetUp() override {
    GLTest::SetUp();
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(testsupport::ScratchDir());
    // The demo's projection: 45 degrees, height over width, near 0.1f, far 200.
    glViewport(0, 0, width_, height_);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(height_) / width_, 0.1f, 200.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    GLTest::TearDown();
  }
  static void Modelview(GLfloat* m) { glGetFloatv(GL_MODELVIEW_MATRIX, m); }

  // Share of pixels with any colour; and of those that are mostly red.
  void Coverage(double& lit, double& reddish) const {
    const std::vector<unsigned char> pixels = ReadPixels();
    int litCount = 0, redCount = 0;
    for (size_t i = 0; i < pixels.size(); i += 4) {
      const int r = pixels[i], g = pixels[i + 1], b = pixels[i + 2];
      litCount += (r + g + b > 30) ? 1 : 0;
      redCount += (r > 100 && r > 2 * b) ? 1 : 0;
    }
    lit = static_cast<double>(litCount) / (width_ * height_);
    reddish = static_cast<double>(redCount) / (width_ * height_);
  }

  RuntimeRand rand_;

 private:
  std::filesystem::path previous_;
};

TEST_F(EffectScenesTest, JetDrawsOnTheTunnelsMatrixPlusTwentyIn) {
  auto tunnel = std::make_unique<Tunnel>();
  auto twin = std::make_unique<Tunnel>();
  tunnel->Init();
  twin->Init();
  ParticleSystem jet(ParticlePreset::kJet, rand_);
  jet.Init();
  for (int frame = 0; frame < 3; ++frame) {
    glEnable(GL_LIGHTING);
    glEnable(GL_BLEND);
    TunnelScene(*tunnel, 0, jet);
    GLfloat after[16], expected[16];
    Modelview(after);
    twin->Draw(0);
    glTranslatef(0, 0, -20);
    Modelview(expected);
    for (int i = 0; i < 16; ++i) ASSERT_NEAR(after[i], expected[i], 1e-5) << "frame " << frame;
  }
  EXPECT_EQ(tunnel->FrameCount(), 3);
  EXPECT_GT(jet.Emitter()->liveCount, 0);
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));  // the particle system turns it back on
}

TEST_F(EffectScenesTest, TunnelFrameShowsTheWallsAndTheRedJet) {
  testsupport::WriteTestJpeg("textures/particle.jpg", 16, 16, [](unsigned x, unsigned y, unsigned char* p) {
    const int dx = static_cast<int>(x) - 8, dy = static_cast<int>(y) - 8;
    p[0] = p[1] = p[2] = dx * dx + dy * dy < 40 ? 255 : 0;
  });
  auto tunnel = std::make_unique<Tunnel>();
  tunnel->Init();
  ParticleSystem jet(ParticlePreset::kJet, rand_);
  ASSERT_TRUE(jet.Init());
  // A blue wall image, so the jet's red stands out.
  GLuint wall = 0;
  glGenTextures(1, &wall);
  glBindTexture(GL_TEXTURE_2D, wall);
  const unsigned char blue[4 * 4] = {20, 40, 160, 255, 20, 40, 160, 255, 20, 40, 160, 255, 20, 40, 160, 255};
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, blue);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  for (int frame = 0; frame < 30; ++frame) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    TunnelScene(*tunnel, wall, jet);
  }
  double lit = 0, reddish = 0;
  Coverage(lit, reddish);
  EXPECT_GT(lit, 0.9);        // the walls surround the view
  EXPECT_GT(reddish, 0.005);  // the jet
}

TEST_F(EffectScenesTest, WireTorusSceneDrawsTheCloudThenTheTorusTenIn) {
  const auto white = [](unsigned, unsigned, unsigned char* p) { p[0] = p[1] = p[2] = 255; };
  testsupport::WriteTestJpeg("textures/torus.jpg", 8, 8, white);
  testsupport::WriteTestJpeg("textures/particle.jpg", 8, 8, white);
  glEnable(GL_LIGHT0);
  float phase = 0;
  Torus wire(phase);
  wire.Init(GL_LINE);
  ParticleSystem cloud(ParticlePreset::kDrift, rand_);
  cloud.Init();
  glTranslatef(5, 5, 5);
  WireTorusScene(cloud, wire);
  GLfloat after[16];
  Modelview(after);
  EXPECT_EQ(after[12], 0.0f);
  EXPECT_EQ(after[13], 0.0f);
  EXPECT_EQ(after[14], -10.0f);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_EQ(wire.Angle(), 0.5f);
  EXPECT_GE(cloud.Emitter()->liveCount, 2);
  double lit = 0, reddish = 0;
  Coverage(lit, reddish);
  EXPECT_GT(lit, 0.02);  // torus lines
  EXPECT_LT(lit, 0.9);   // on black
}

TEST_F(EffectScenesTest, SolidTorusSceneDrawsOverTheTurningPanel) {
  testsupport::WriteTestJpeg("textures/bg1.jpg", 16, 16, [](unsigned x, unsigned, unsigned char* p) {
    p[0] = 30, p[1] = 200, p[2] = x < 8 ? 60 : 120;
  });
  float phase = 0;
  Torus solid(phase);
  solid.Init(GL_FILL);
  BackgroundPanel panel(10, 10, 10);
  panel.LoadTexture();
  glEnable(GL_LIGHT0);
  SolidTorusScene(panel, solid);
  GLfloat after[16];
  Modelview(after);
  EXPECT_EQ(after[14], -10.0f);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_EQ(panel.Angle(), 1.0f);
  EXPECT_EQ(solid.Angle(), 0.5f);
  // The panel fills the view in green; the torus covers part of it in grey.
  const std::vector<unsigned char> pixels = ReadPixels();
  int green = 0, other = 0;
  for (size_t i = 0; i < pixels.size(); i += 4) {
    const bool isGreen = pixels[i + 1] > 150 && pixels[i] < 60;
    green += isGreen ? 1 : 0;
    other += isGreen ? 0 : 1;
  }
  EXPECT_GT(green, width_ * height_ / 4);
  EXPECT_GT(other, width_ * height_ / 20);
}

}  // namespace
