// ParticleSystem without pictures: births, motion, deaths, the pool bound and the presets
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>
#include <vector>

#include "particles/ParticleSystem.h"
#include "particles/RuntimeRand.h"
#include "support/GLTest.h"

// Every test runs in an empty folder, so Init finds no particle picture and touches no GL.

namespace {

class InEmptyFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(testsupport::ScratchDir());
  }
  void TearDown() override { std::filesystem::current_path(previous_); }

 private:
  std::filesystem::path previous_;
};

std::vector<const Particle*> Live(const ParticleSystem& system) {
  std::vector<const Particle*> out;
  for (const Particle* p = system.Emitter()->live; p != nullptr; p = p->next) out.push_back(p);
  return out;
}

size_t FreeCount(const ParticleSystem& system) {
  size_t n = 0;
  for (const Particle* p = system.FreeList(); p != nullptr; p = p->next) ++n;
  return n;
}

// The spawn count an Update will draw next, from a copy of the generator.
int NextSpawnCount(const RuntimeRand& rand) {
  RuntimeRand peek = rand;
  const int m = peek.Next() % 100;
  return m == 0 ? 4 : (m <= 50 ? 3 : 2);
}

double Factor(RuntimeRand& rand) { return 1.0 - (rand.Next() % 100) * static_cast<double>(0.02f); }

using ParticleSystemTest = InEmptyFolder;

TEST_F(ParticleSystemTest, FreshSystemUpdatedOnceHoldsTheDrawnCountAtTheOrigin) {
  for (ParticlePreset preset : {ParticlePreset::kDrift, ParticlePreset::kJet}) {
    RuntimeRand rand;
    ParticleSystem system(preset, rand);
    EXPECT_FALSE(system.Init());  // no picture in this folder
    const int expected = NextSpawnCount(rand);
    system.Update();
    const auto live = Live(system);
    ASSERT_EQ(static_cast<int>(live.size()), expected);
    EXPECT_EQ(system.Emitter()->liveCount, expected);
    EXPECT_GE(expected, 2);
    EXPECT_LE(expected, 4);
    for (const Particle* p : live) {
      EXPECT_EQ(p->position.x, 0.0f);
      EXPECT_EQ(p->position.y, 0.0f);
      EXPECT_EQ(p->position.z, 0.0f);
    }
  }
}

TEST_F(ParticleSystemTest, BirthDrawsLifeColourDirectionAndSpeedInOrder) {
  RuntimeRand rand;
  ParticleSystem system(ParticlePreset::kJet, rand);
  system.Init();
  RuntimeRand replay = rand;
  const int n = NextSpawnCount(replay);
  replay.Next();  // the spawn count
  system.Update();
  const auto live = Live(system);
  ASSERT_EQ(static_cast<int>(live.size()), n);
  // Births go to the head of the list, so the oldest (first-born) is last.
  for (int k = n - 1; k >= 0; --k) {
    const Particle& p = *live[k];
    const int life = static_cast<int>(20 * Factor(replay) + 30);
    EXPECT_EQ(p.life, life);
    const double r2 = Factor(replay);
    EXPECT_EQ(p.colour.x, static_cast<float>(0.1f * r2 + 1));
    EXPECT_EQ(p.colour.y, static_cast<float>(0.1f * r2));
    const double r3 = Factor(replay);
    const float k1 = static_cast<float>(1.0 / life);
    const float targetGreen = static_cast<float>(0.1f * r3 + 1);
    EXPECT_FLOAT_EQ(p.colourDelta.y, (targetGreen - p.colour.y) * k1);
    const double yaw = 0.08726646f * Factor(replay) + 1.5707964f;
    const double elevation = 0.34906584f * Factor(replay);
    const double speed = 0.05f * Factor(replay) + 0.1f;
    EXPECT_NEAR(p.velocity.x, -std::sin(yaw) * std::cos(elevation) * speed, 1e-6);
    EXPECT_NEAR(p.velocity.y, std::sin(elevation) * speed, 1e-6);
    EXPECT_NEAR(p.velocity.z, std::cos(yaw) * std::cos(elevation) * speed, 1e-6);
  }
  EXPECT_EQ(replay.State(), rand.State());  // exactly six draws per birth plus one per update
}

TEST_F(ParticleSystemTest, PresetTwoLivesStayWithinTenToFifty) {
  RuntimeRand rand;
  ParticleSystem system(ParticlePreset::kJet, rand);
  system.Init();
  int shortest = 1000, longest = 0;
  std::set<const Particle*> seen;
  for (int update = 0; update < 2000; ++update) {
    system.Update();
    // Particles at the list head with no motion yet are this update's births.
    for (const Particle* p = system.Emitter()->live; p != nullptr && p->position.x == 0 && p->position.z == 0;
         p = p->next) {
      shortest = std::min(shortest, p->life);
      longest = std::max(longest, p->life);
    }
    for (const Particle* p : Live(system)) ASSERT_LE(p->life, 50);
  }
  EXPECT_EQ(shortest, 10);  // 30 - 20 * 0.98 truncated
  EXPECT_EQ(longest, 50);   // 30 + 20 * 1.0
}

TEST_F(ParticleSystemTest, ParticlesMoveOncePerUpdateAndLeaveAfterTheirLife) {
  RuntimeRand rand;
  ParticleSystem system(ParticlePreset::kJet, rand);
  system.Init();
  system.Update();
  const Particle* first = Live(system).back();
  const int life = first->life;
  const Vector3 velocity = first->velocity;
  const Vector3 colour = first->colour;
  for (int i = 1; i <= life; ++i) {
    system.Update();
    ASSERT_EQ(first->life, life - i);
  }
  EXPECT_NEAR(first->position.x, velocity.x * life, 1e-4);
  EXPECT_NEAR(first->position.y, velocity.y * life, 1e-4);
  EXPECT_NEAR(first->colour.y, colour.y + first->colourDelta.y * life, 1e-4);
  // The particle at life 0 has had its last move; bookkeeping of the next update:
  for (int i = 0; i < 200; ++i) {
    const auto before = Live(system);
    int dying = 0;
    for (const Particle* p : before) dying += p->life <= 0 ? 1 : 0;
    const int spawns = NextSpawnCount(rand);
    system.Update();
    ASSERT_EQ(system.Emitter()->liveCount, static_cast<int>(before.size()) - dying + spawns);
    ASSERT_EQ(Live(system).size(), static_cast<size_t>(system.Emitter()->liveCount));
  }
}

TEST_F(ParticleSystemTest, PresetZeroLevelsOffNearFourteenSixty) {
  RuntimeRand rand;
  ParticleSystem system(ParticlePreset::kDrift, rand);
  system.Init();
  for (int i = 0; i < 800; ++i) system.Update();
  int low = 100000, high = 0;
  for (int i = 0; i < 600; ++i) {
    system.Update();
    low = std::min(low, system.Emitter()->liveCount);
    high = std::max(high, system.Emitter()->liveCount);
  }
  EXPECT_GT(low, 1400);
  EXPECT_LT(high, 1520);
  // Preset 0 keeps full white and constant speed: nothing changes colour.
  for (const Particle* p : Live(system)) ASSERT_EQ(p->colour.x, 1.0f);
}

TEST_F(ParticleSystemTest, PoolIsBoundedAndEveryRecordIsOnExactlyOneList) {
  RuntimeRand rand;
  ParticleSystem system(ParticlePreset::kDrift, rand);
  system.Init();
  ASSERT_EQ(system.PoolSize(), 4001u);
  for (int i = 0; i < 4000; ++i) system.Spawn();
  EXPECT_EQ(system.Emitter()->liveCount, 4000);
  const uint32_t stateAtLimit = rand.State();
  for (int i = 0; i < 50; ++i) system.Spawn();  // beyond the bound: nothing, not even a draw
  EXPECT_EQ(system.Emitter()->liveCount, 4000);
  EXPECT_EQ(rand.State(), stateAtLimit);
  system.Update();
  EXPECT_LE(system.Emitter()->liveCount, 4000);

  std::set<const Particle*> records;
  for (const Particle* p : Live(system)) records.insert(p);
  for (const Particle* p = system.FreeList(); p != nullptr; p = p->next)
    EXPECT_TRUE(records.insert(p).second);
  EXPECT_EQ(records.size(), 4001u);
  EXPECT_EQ(FreeCount(system) + system.Emitter()->liveCount, 4001u);
}

TEST_F(ParticleSystemTest, ReinitStartsEmptyWithAFreshPool) {
  RuntimeRand rand;
  ParticleSystem system(ParticlePreset::kJet, rand);
  system.Init();
  for (int i = 0; i < 20; ++i) system.Update();
  ASSERT_GT(system.Emitter()->liveCount, 0);
  system.Init();
  EXPECT_EQ(system.Emitter()->liveCount, 0);
  EXPECT_EQ(system.Emitter()->live, nullptr);
  EXPECT_EQ(FreeCount(system), 4001u);
  EXPECT_EQ(system.Emitter()->lifeBase, 30);  // the preset was applied again
}

TEST_F(ParticleSystemTest, UninitialisedOrUnknownPresetDoesNothingHarmful) {
  RuntimeRand rand;
  ParticleSystem idle(ParticlePreset::kDrift, rand);
  idle.Spawn();
  idle.Update();
  EXPECT_EQ(idle.Emitter(), nullptr);
  EXPECT_EQ(rand.State(), 1u);

  ParticleSystem odd(static_cast<ParticlePreset>(7), rand);
  odd.Init();
  EXPECT_EQ(odd.Emitter()->maxParticles, 4000);
  EXPECT_EQ(odd.Emitter()->spawnBase, 0);
  odd.Update();  // spawn count 0 * r + 0: no births
  EXPECT_EQ(odd.Emitter()->liveCount, 0);
  for (int i = 0; i < 3; ++i) odd.Spawn();  // a life of 0: kept once, removed by the next update
  EXPECT_EQ(odd.Emitter()->liveCount, 3);
  odd.Update();
  EXPECT_EQ(odd.Emitter()->liveCount, 0);
}

TEST_F(ParticleSystemTest, PresetOneThrowsSidewaysFromAboveThenFalls) {
  RuntimeRand rand;
  ParticleSystem fountain(ParticlePreset::kFountain, rand);
  fountain.Init();
  fountain.Update();
  for (const Particle* p : Live(fountain)) {
    EXPECT_EQ(p->position.y, 15.0f);
    EXPECT_EQ(p->velocity.y, 0.0f);  // thrown horizontally
    EXPECT_GE(p->life, 410);
    EXPECT_LE(p->life, 450);
  }
  const Particle* first = Live(fountain).back();
  for (int i = 0; i < 100; ++i) fountain.Update();
  EXPECT_NEAR(first->velocity.y, -0.1, 1e-4);               // 100 steps of gravity 0.001
  EXPECT_NEAR(first->position.y, 15 - 0.001 * 4950, 1e-3);  // sum of 0..99 steps
}

TEST_F(ParticleSystemTest, JetFliesAlongMinusXFannedTwentyDegrees) {
  RuntimeRand rand;
  ParticleSystem jet(ParticlePreset::kJet, rand);
  jet.Init();
  for (int i = 0; i < 100; ++i) jet.Update();
  for (const Particle* p : Live(jet)) {
    const Vector3& v = p->velocity;
    ASSERT_LT(v.x, 0.0f);
    const double horizontal = std::hypot(v.x, v.z);
    EXPECT_LE(std::atan2(std::fabs(v.y), horizontal), 0.34906584 + 1e-5);
    EXPECT_LE(std::atan2(std::fabs(v.z), -v.x), 0.08726646 + 1e-5);
  }
}

}  // namespace
