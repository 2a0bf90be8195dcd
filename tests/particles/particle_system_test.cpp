// ParticleSystem and its generator: births, presets, motion, deaths, the pool, texture and drawing
#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "particles/ParticleSystem.h"
#include "support/GLTest.h"
#include "support/TestJpeg.h"

namespace {

std::vector<const Particle*> Live(const ParticleSystem& system) {
  std::vector<const Particle*> out;
  for (const Particle* p = system.Emitter()->live; p != nullptr; p = p->next) out.push_back(p);
  return out;
}

// The number of births the next Update draws: trunc(r + 3), r = 1 - (rand mod 100) * 0.02f.
int NextSpawnCount(RuntimeRand rand) {
  return static_cast<int>(1.0 - (rand.Next() % 100) * double{0.02f} + 3);
}

// Each test runs in an empty folder: Init finds no particle picture unless the test writes one.
class ParticleTest : public testsupport::GLTest {
 protected:
  ParticleTest() : GLTest(64, 64) {}
  testsupport::ScopedChdir cwd_;
  RuntimeRand rand_;
};

TEST(ParticleHelpers, TheClassicRuntimeSequenceAndAlphaFromRed) {
  RuntimeRand rand;
  for (int value : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358}) EXPECT_EQ(rand.Next(), value);
  unsigned char rgba[] = {0, 9, 9, 77, 30, 255, 255, 77, 31, 0, 0, 77, 255, 255, 255, 77};
  SetParticleAlpha(rgba, 4);  // red of 30 or less: transparent, else half
  EXPECT_EQ(std::vector<unsigned char>(rgba, rgba + 16),
            (std::vector<unsigned char>{0, 9, 9, 0, 30, 255, 255, 0, 31, 0, 0, 128, 255, 255, 255, 128}));
}

// The span of each quantity over the live particles, as "low..high" in this order: life, speed,
// elevation and heading (from +Z towards -X) in degrees, height, start red, green, blue, end red, green,
// blue.
std::string Spans(const ParticleSystem& system) {
  std::array<std::pair<double, double>, 11> spans;
  spans.fill({1e9, -1e9});
  for (const Particle* p : Live(system)) {
    const Vector3 &v = p->velocity, &c = p->colour, &d = p->colourDelta;
    const double speed = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z), life = p->life, degrees = 180 / M_PI;
    const double up = std::asin(std::fabs(v.y) / speed) * degrees, heading = std::atan2(-v.x, v.z) * degrees;
    // clang-format off
    const double values[11] = {life, speed, up, heading, p->position.y, c.x, c.y, c.z,
                               c.x + d.x * life, c.y + d.y * life, c.z + d.z * life};
    // clang-format on
    for (int k = 0; k < 11; ++k) {
      const double value = std::round(values[k] * 1e4) / 1e4 + 0.0;  // + 0.0: no "-0"
      spans[k] = {std::min(spans[k].first, value), std::max(spans[k].second, value)};
    }
  }
  std::ostringstream text;
  text << std::setprecision(4);
  for (const auto& [low, high] : spans) text << (&low == &spans[0].first ? "" : " ") << low << ".." << high;
  return text.str();
}

TEST_F(ParticleTest, EachPresetBirthsWithinItsRangesAndThePoolHoldsFourThousand) {
  // Over 4000 births every factor r from -0.98 to 1 comes up: the spans of base + variation r.
  const std::pair<ParticlePreset, const char*> cases[] = {
      {ParticlePreset::kDrift, "570..590 0.0002..0.02 0..90 -180..176.4 0..0 1..1 1..1 1..1 1..1 1..1 1..1"},
      {ParticlePreset::kFountain,
       "410..450 0.051..0.15 0..0 -180..176.4 15..15 0.902..1.1 0.902..1.1 0.902..1.1 0.902..1.1 0.902..1.1 "
       "0.902..1.1"},
      {ParticlePreset::kJet,
       "10..50 0.051..0.15 0..20 85.1..95 0..0 0.902..1.1 -0.098..0.1 -0.098..0.1 0.902..1.1 0.902..1.1 "
       "-0.098..0.1"},
  };
  for (const auto& [preset, spans] : cases) {
    ParticleSystem system(preset, rand_);
    system.Init();
    for (int i = 0; i < 4000; ++i) system.Spawn();
    const uint32_t state = rand_.State();
    system.Spawn();  // beyond the bound: nothing, not even a draw
    EXPECT_EQ(rand_.State(), state);
    EXPECT_EQ(system.Emitter()->liveCount, 4000);
    EXPECT_EQ(system.FreeList()->next, nullptr);  // of 4001 records, one left over
    EXPECT_EQ(Spans(system), spans);
  }
}

TEST_F(ParticleTest, ParticlesStepOncePerUpdateUnderGravityAndLeaveAfterTheirLife) {
  ParticleSystem fountain(ParticlePreset::kFountain, rand_);
  fountain.Update();  // before Init: nothing, not even a draw
  EXPECT_EQ(rand_.State(), 1u);
  fountain.Init();
  fountain.Update();
  const Particle& first = *Live(fountain).back();
  const Particle born = first;
  for (int n = 1; n <= born.life; ++n) {
    const auto before = Live(fountain);
    const auto dying = std::count_if(before.begin(), before.end(), [](auto p) { return p->life <= 0; });
    const int expected = static_cast<int>(before.size() - dying) + NextSpawnCount(rand_);
    fountain.Update();
    ASSERT_EQ(first.life, born.life - n);
    ASSERT_EQ(fountain.Emitter()->liveCount, expected);
    ASSERT_EQ(Live(fountain).size(), static_cast<size_t>(expected));
  }
  const double n = born.life;  // gravity (0.00001, -0.001, 0) bends the straight line
  EXPECT_NEAR(first.velocity.y, -0.001 * n, 1e-5);
  EXPECT_NEAR(first.position.y, 15 - 0.001 * n * (n - 1) / 2, 1e-3);
  EXPECT_NEAR(first.colour.x, born.colour.x + born.colourDelta.x * n, 1e-4);
  fountain.Update();  // its record goes to the front of the free list: the next one born
  EXPECT_EQ(first.position.y, 15.0f);
  EXPECT_GE(first.life, 410);
  const uint32_t state = rand_.State();
  fountain.Init();  // what a restart runs: empty again, the generator not reseeded
  EXPECT_EQ(fountain.Emitter()->live, nullptr);
  EXPECT_EQ(rand_.State(), state);
}

TEST_F(ParticleTest, AnUnknownPresetBirthsNothingAndALifeOfZeroLastsOneUpdate) {
  ParticleSystem odd(static_cast<ParticlePreset>(7), rand_);
  odd.Init();
  odd.Update();  // 0 * r + 0 births
  odd.Spawn();
  EXPECT_EQ(odd.Emitter()->liveCount, 1);
  odd.Update();
  EXPECT_EQ(odd.Emitter()->liveCount, 0);
}

TEST_F(ParticleTest, TheTextureIsThePictureAtHalfAlphaAndSquaresAddUp) {
  const auto white = [](unsigned, unsigned, unsigned char* p) { p[0] = p[1] = p[2] = 255; };
  ASSERT_TRUE(testsupport::WriteTestJpeg("textures/particle.jpg", 8, 8, white));
  ParticleSystem system(ParticlePreset::kDrift, rand_);  // white squares of edge 0.2
  ASSERT_TRUE(system.Init());
  std::vector<unsigned char> texels(8 * 8 * 4);
  glBindTexture(GL_TEXTURE_2D, system.Texture());
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  EXPECT_EQ(texels[4 * 27 + 3], 128);
  glMatrixMode(GL_PROJECTION);
  glOrtho(-0.2, 0.2, -0.2, 0.2, -1, 1);
  system.Frame();  // two to four squares at the origin: each adds half of white, so they saturate
  const auto pixels = ReadPixels();
  EXPECT_GE(PixelAt(pixels, 32, 32)[0], 250);

  std::filesystem::resize_file("textures/particle.jpg", 40);
  EXPECT_FALSE(system.Init());
  EXPECT_EQ(system.Texture(), 0u);  // drawn untextured, not with a stale name
}

TEST_F(ParticleTest, DrawSendsOneSquareOfTheParticlesColourPerParticle) {
  ParticleSystem jet(ParticlePreset::kJet, rand_);  // half size 0.5
  jet.Init();
  for (int i = 0; i < 3; ++i) jet.Update();
  glMatrixMode(GL_PROJECTION);
  glOrtho(-2, 2, -2, 2, -10, 10);  // 16 window units per unit
  const auto polygons = testsupport::CapturePolygons([&] { jet.Draw(); });
  const auto live = Live(jet);
  ASSERT_EQ(polygons.size(), 2 * live.size());  // each strip comes back as two triangles
  for (size_t n = 0; n < polygons.size(); ++n) {
    const Particle& p = *live[n / 2];
    for (const auto& v : polygons[n]) {  // texture corner (s, t) at the position - 0.5 + (s, t)
      EXPECT_NEAR(v.x, (p.position.x - 0.5f + v.texCoord[0] + 2) * 16, 1e-3);
      EXPECT_NEAR(v.y, (p.position.y - 0.5f + v.texCoord[1] + 2) * 16, 1e-3);
      EXPECT_FLOAT_EQ(v.color[1], std::clamp(p.colour.y, 0.0f, 1.0f));
    }
  }
}

}  // namespace
