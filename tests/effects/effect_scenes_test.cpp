// The tunnel and torus scenes: where they draw their pieces, and the tunnel's walls and jet as pixels
#include <GL/gl.h>
#include <GL/glu.h>

#include <array>
#include <memory>

#include "director/EffectScenes.h"
#include "effects/BackgroundPanel.h"
#include "effects/Torus.h"
#include "effects/Tunnel.h"
#include "particles/ParticleSystem.h"
#include "support/GLTest.h"
#include "support/TestJpeg.h"

namespace {

class EffectScenesTest : public testsupport::GLTest {
 protected:
  EffectScenesTest() : GLTest(64, 48) {}
  void SetUp() override {
    GLTest::SetUp();
    glMatrixMode(GL_PROJECTION);
    gluPerspective(45.0, 48.0 / 64, 0.1f, 200.0);  // the demo's projection
    glMatrixMode(GL_MODELVIEW);
  }
  static std::array<GLfloat, 16> Modelview() {
    std::array<GLfloat, 16> m{};
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
  }

  testsupport::ScopedChdir cwd_;
  RuntimeRand rand_;
  float phase_ = 0;
};

TEST_F(EffectScenesTest, TheJetFliesTwentyInOnTheTunnelsViewAndShowsRedBetweenTheWalls) {
  testsupport::WriteTestJpeg("textures/particle.jpg", 16, 16, [](unsigned x, unsigned y, unsigned char* p) {
    const int dx = static_cast<int>(x) - 8, dy = static_cast<int>(y) - 8;
    p[0] = p[1] = p[2] = dx * dx + dy * dy < 40 ? 255 : 0;
  });
  auto tunnel = std::make_unique<Tunnel>(), twin = std::make_unique<Tunnel>();
  tunnel->Init();
  ParticleSystem jet(ParticlePreset::kJet, rand_);
  ASSERT_TRUE(jet.Init());
  const unsigned char blue[4 * 4] = {20, 40, 160, 255, 20, 40, 160, 255, 20, 40, 160, 255, 20, 40, 160, 255};
  GLuint wall = 0;
  glGenTextures(1, &wall);
  glBindTexture(GL_TEXTURE_2D, wall);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, blue);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  for (int frame = 0; frame < 30; ++frame) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_LIGHTING);  // what the scene before may have left
    glEnable(GL_BLEND);
    TunnelScene(*tunnel, wall, jet);
    const auto after = Modelview();
    twin->Draw(0);
    glTranslatef(0, 0, -20);
    const auto expected = Modelview();
    for (int i = 0; i < 16; ++i) ASSERT_NEAR(after[i], expected[i], 1e-5) << "frame " << frame;
  }
  const auto pixels = ReadPixels();
  int lit = 0, red = 0;
  for (size_t i = 0; i < pixels.size(); i += 4) {
    lit += pixels[i] + pixels[i + 1] + pixels[i + 2] > 30 ? 1 : 0;
    red += pixels[i] > 100 && pixels[i] > 2 * pixels[i + 2] ? 1 : 0;
  }
  EXPECT_GT(lit, 64 * 48 * 9 / 10);  // the walls surround the view
  EXPECT_GT(red, 15);                // the jet
}

TEST_F(EffectScenesTest, TheTorusScenesDrawTenInFromTheIdentity) {
  Torus wire(phase_), solid(phase_);
  wire.Init(GL_LINE);
  solid.Init(GL_FILL);
  ParticleSystem cloud(ParticlePreset::kDrift, rand_);
  cloud.Init();
  BackgroundPanel panel(10, 10, 10);
  panel.LoadTexture();
  std::array<GLfloat, 16> tenIn{};
  glTranslatef(0, 0, -10);
  glGetFloatv(GL_MODELVIEW_MATRIX, tenIn.data());
  glLoadIdentity();
  glTranslatef(5, 5, 5);
  WireTorusScene(cloud, wire);
  EXPECT_EQ(Modelview(), tenIn);
  EXPECT_EQ(wire.Angle(), 0.5f);
  EXPECT_GE(cloud.Emitter()->liveCount, 2);
  glTranslatef(5, 5, 5);
  SolidTorusScene(panel, solid);
  EXPECT_EQ(Modelview(), tenIn);
  EXPECT_EQ(solid.Angle(), 0.5f);
  EXPECT_EQ(panel.Angle(), 1.0f);
}

}  // namespace
