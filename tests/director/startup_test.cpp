// Start-up on a headless context in a folder without data
#include "director/Startup.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/HeadlessPlatform.h"
#include "support/GLTest.h"

using namespace platform;

namespace {

class StartupTest : public testsupport::GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(testsupport::ScratchDir());
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    GLTest::TearDown();
  }
  std::filesystem::path previous_;
  HeadlessPlatform os_{{AudioOutput::kNull, "", kSoundLibraryVersion, 123456}};
  Demo demo_{os_};
};

TEST_F(StartupTest, WithoutDataStartsTheClockAndRunsSilent) {
  glClearColor(1, 1, 1, 0);
  EXPECT_TRUE(InitDemo(demo_));
  EXPECT_EQ(demo_.timeline.TimelineStartTick, 123456u);
  EXPECT_TRUE(os_.Sound().IsInitialised());
  EXPECT_FALSE(demo_.music.HasStream());
  GLfloat clear[4];
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  EXPECT_EQ(clear[0], 0.0f);
  EXPECT_EQ(clear[1], 0.0f);
  EXPECT_EQ(clear[2], 0.0f);
  EXPECT_EQ(clear[3], 1.0f);
  EXPECT_EQ(demo_.timeline.tunnelTextureSlot, demo_.timeline.tunnelImage1);
  EXPECT_NE(demo_.timeline.backdropImage, 0u);
}

TEST_F(StartupTest, RestartTakesANewClockAndReleasesTheOldBackdropImage) {
  InitDemo(demo_);
  const unsigned firstImage = demo_.timeline.backdropImage;
  os_.AdvanceClock(5000);
  InitDemo(demo_);
  EXPECT_EQ(demo_.timeline.TimelineStartTick, 128456u);
  // The released name is the first free one again, so the library did not grow.
  EXPECT_EQ(demo_.timeline.backdropImage, firstImage);
}

}  // namespace
