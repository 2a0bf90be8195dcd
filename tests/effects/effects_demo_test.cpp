// The effects inside the program-wide state: start-up, restarts and the timeline's scenes
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "director/Demo.h"
#include "director/Startup.h"
#include "director/Timeline.h"
#include "platform/HeadlessPlatform.h"
#include "support/GLTest.h"
#include "support/TestJpeg.h"

using namespace platform;

namespace {

constexpr uint32_t kStart = 1000;

class EffectsDemoTest : public testsupport::GLTest {
 protected:
  EffectsDemoTest() : GLTest(64, 48) {}
  void SetUp() override {
    GLTest::SetUp();
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(testsupport::ScratchDir());
    const auto grey = [](unsigned x, unsigned, unsigned char* p) { p[0] = p[1] = p[2] = x < 4 ? 20 : 200; };
    for (const char* name : {"textures/particle.jpg", "textures/torus.jpg", "textures/bg1.jpg"}) {
      ASSERT_TRUE(testsupport::WriteTestJpeg(name, 8, 8, grey));
    }
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    GLTest::TearDown();
  }
  void FrameAt(uint32_t t) {
    os_.SetTicks(kStart + t);
    RunTimeline(demo_);
  }

  std::filesystem::path previous_;
  HeadlessPlatform os_{{AudioOutput::kNull, "", kSoundLibraryVersion, kStart}};
  Demo demo_{os_};
};

TEST_F(EffectsDemoTest, ConstructionSetsOnlyInitialValues) {
  EXPECT_EQ(demo_.idleJet.Preset(), ParticlePreset::kJet);
  EXPECT_EQ(demo_.cloud.Preset(), ParticlePreset::kDrift);
  EXPECT_EQ(demo_.jet.Preset(), ParticlePreset::kJet);
  EXPECT_EQ(demo_.jet.Emitter(), nullptr);
  EXPECT_FALSE(demo_.wireTorus.Allocated());
  EXPECT_EQ(demo_.backgroundPanel.Width(), 256);
  EXPECT_EQ(demo_.tunnel.TunnelSpeed, 2.7f);
  EXPECT_EQ(demo_.TubePhase, 0.0f);
  EXPECT_EQ(demo_.rand.State(), 1u);
}

TEST_F(EffectsDemoTest, StartUpInitialisesEveryEffect) {
  ASSERT_TRUE(InitDemo(demo_));
  EXPECT_EQ(demo_.solidTorus.PolygonMode(), static_cast<GLenum>(GL_FILL));
  EXPECT_EQ(demo_.wireTorus.PolygonMode(), static_cast<GLenum>(GL_LINE));
  EXPECT_FLOAT_EQ(demo_.TubePhase, 0.2f);  // two tube builds before the first frame
  for (const ParticleSystem* system : {&demo_.idleJet, &demo_.cloud, &demo_.jet}) {
    ASSERT_NE(system->Emitter(), nullptr);
    EXPECT_EQ(system->PoolSize(), 4001u);
    EXPECT_NE(system->Texture(), 0u);
  }
  EXPECT_EQ(demo_.backgroundPanel.Width(), 8);
  EXPECT_EQ(demo_.tunnel.At(1, 0).z, -8.0f);
  EXPECT_EQ(demo_.tunnel.At(0, 0).x, 5.0f);
  EXPECT_EQ(demo_.rand.State(), 1u);  // nothing drawn from it yet
}

TEST_F(EffectsDemoTest, EachEffectSceneRunsInItsWindowAndKeepsItsMotion) {
  InitDemo(demo_);
  FrameAt(18999);
  EXPECT_EQ(demo_.tunnel.FrameCount(), 0);
  FrameAt(19000);
  EXPECT_EQ(demo_.tunnel.FrameCount(), 1);
  EXPECT_GE(demo_.jet.Emitter()->liveCount, 2);
  EXPECT_EQ(demo_.idleJet.Emitter()->liveCount, 0);  // never updated
  FrameAt(46999);
  EXPECT_EQ(demo_.tunnel.FrameCount(), 2);
  EXPECT_EQ(demo_.wireTorus.Angle(), 0.0f);

  FrameAt(47000);
  EXPECT_EQ(demo_.wireTorus.Angle(), 0.5f);
  EXPECT_GE(demo_.cloud.Emitter()->liveCount, 2);
  FrameAt(74999);
  EXPECT_EQ(demo_.wireTorus.Angle(), 1.0f);

  // The second tunnel continues the first one's motion with the second image.
  const float speed = demo_.tunnel.TunnelSpeed;
  const int jetLive = demo_.jet.Emitter()->liveCount;
  FrameAt(102000);
  EXPECT_EQ(demo_.timeline.tunnelTextureSlot, demo_.timeline.tunnelImage2);
  EXPECT_EQ(demo_.tunnel.FrameCount(), 3);
  EXPECT_NE(demo_.tunnel.TunnelSpeed, speed);
  EXPECT_GT(demo_.jet.Emitter()->liveCount, jetLive);

  FrameAt(130000);
  EXPECT_EQ(demo_.backgroundPanel.Angle(), 1.0f);
  EXPECT_EQ(demo_.solidTorus.Angle(), 0.5f);
  EXPECT_EQ(demo_.wireTorus.Angle(), 1.0f);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(EffectsDemoTest, RestartEmptiesTheParticlesAndKeepsTheRunningState) {
  InitDemo(demo_);
  for (uint32_t t = 19000; t < 19010; ++t) FrameAt(t);
  for (uint32_t t = 47000; t < 47010; ++t) FrameAt(t);
  const uint32_t randState = demo_.rand.State();
  const float speed = demo_.tunnel.TunnelSpeed;
  const float phase = demo_.TubePhase;
  ASSERT_GT(demo_.jet.Emitter()->liveCount, 0);

  InitDemo(demo_);  // what F1 runs in the new context
  EXPECT_EQ(demo_.jet.Emitter()->liveCount, 0);
  EXPECT_EQ(demo_.cloud.Emitter()->liveCount, 0);
  EXPECT_EQ(demo_.rand.State(), randState);  // the generator is never reseeded
  EXPECT_EQ(demo_.tunnel.TunnelSpeed, speed);
  EXPECT_EQ(demo_.tunnel.FrameCount(), 10);
  EXPECT_FLOAT_EQ(demo_.TubePhase, phase + 0.2f);
  EXPECT_EQ(demo_.wireTorus.Angle(), 5.0f);
  EXPECT_TRUE(demo_.wireTorus.Allocated());
  EXPECT_EQ(demo_.timeline.tunnelTextureSlot, demo_.timeline.tunnelImage1);
}

}  // namespace
