// The tunnel and torus scenes: the view each draws its pieces on, from whatever matrix it finds
#include <GL/gl.h>

#include <array>
#include <functional>
#include <memory>

#include "director/EffectScenes.h"
#include "effects/BackgroundPanel.h"
#include "effects/Torus.h"
#include "effects/Tunnel.h"
#include "particles/ParticleSystem.h"
#include "support/GLTest.h"

namespace {

class EffectScenesTest : public testsupport::GLTest {
 protected:
  EffectScenesTest() : GLTest(64, 48) {}
  static std::array<GLfloat, 16> Modelview() {
    std::array<GLfloat, 16> m{};
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
  }

  testsupport::ScopedChdir cwd_;  // no pictures: the pieces draw untextured
  RuntimeRand rand_;
  float phase_ = 0;
};

TEST_F(EffectScenesTest, EachSceneRunsItsPiecesOnceOnItsOwnView) {
  auto tunnel = std::make_unique<Tunnel>(), twin = std::make_unique<Tunnel>();
  ParticleSystem jet(ParticlePreset::kJet, rand_), cloud(ParticlePreset::kDrift, rand_);
  Torus wire(phase_), solid(phase_);
  BackgroundPanel panel(10, 10, 10);
  tunnel->Init(), jet.Init(), cloud.Init(), wire.Init(GL_LINE), solid.Init(GL_FILL), panel.LoadTexture();
  twin->Draw(0);  // the jet flies 20 in on the view, move and scale the tunnel leaves
  glTranslatef(0, 0, -20);
  const auto jetView = Modelview();
  glLoadIdentity();
  glTranslatef(0, 0, -10);  // the tori sit 10 in from the identity
  const auto tenIn = Modelview();
  const struct {
    const char* what;
    std::function<void()> scene;
    const std::array<GLfloat, 16>& view;
  } cases[] = {{"tunnel", [&] { TunnelScene(*tunnel, 0, jet); }, jetView},
               {"wire torus", [&] { WireTorusScene(cloud, wire); }, tenIn},
               {"solid torus", [&] { SolidTorusScene(panel, solid); }, tenIn}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    glLoadIdentity();
    glTranslatef(5, 5, 5);  // whatever the scene before left
    c.scene();
    EXPECT_EQ(Modelview(), c.view);
  }
  EXPECT_EQ(tunnel->FrameCount(), 1);
  EXPECT_GE(jet.Emitter()->liveCount, 2);
  EXPECT_GE(cloud.Emitter()->liveCount, 2);
  EXPECT_EQ(wire.Angle(), 0.5f);
  EXPECT_EQ(solid.Angle(), 0.5f);
  EXPECT_EQ(panel.Angle(), 1.0f);
}

}  // namespace
