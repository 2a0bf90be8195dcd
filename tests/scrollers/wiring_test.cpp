// The text module inside the demo: the font step of start-up and the scrollers' windows
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "director/Startup.h"
#include "director/Timeline.h"
#include "platform/HeadlessPlatform.h"
#include "support/GLTest.h"

namespace {

class TextWiringTest : public testsupport::GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(testsupport::ScratchDir());
    demo_.shell.MainWindow = 7;
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    GLTest::TearDown();
  }

  size_t FontBoxes() const {
    size_t count = 0;
    for (const auto& box : os_.MessageBoxes()) {
      if (box.text != "Error loading font") continue;
      ++count;
      EXPECT_EQ(box.caption, "Error");
      EXPECT_EQ(box.flags, 0u);
      EXPECT_EQ(box.owner, demo_.shell.MainWindow);
    }
    return count;
  }

  void At(int32_t t) {
    os_.SetTicks(demo_.timeline.TimelineStartTick + static_cast<uint32_t>(t));
    DrawFrame(demo_);
  }

  std::filesystem::path previous_;
  platform::HeadlessPlatform os_;
  Demo demo_{os_};
};

TEST_F(TextWiringTest, AMissingFontShowsOneBoxAndTheShowGoesOn) {
  EXPECT_TRUE(InitDemo(demo_));
  EXPECT_EQ(FontBoxes(), 1u);
  EXPECT_NE(demo_.font.texture, 0u);
  EXPECT_EQ(demo_.font.glyphs[65].u, 0.0625f);
  At(6000);
  EXPECT_EQ(demo_.scrollers.credits.frameCount, 1);
}

TEST_F(TextWiringTest, AReadableFontLoadsWithoutABox) {
  // 16 x 16, 8 bits, uncompressed greyscale.
  std::vector<unsigned char> file(18, 0);
  file[2] = 3;
  file[12] = 16;
  file[14] = 16;
  file[16] = 8;
  file.resize(18 + 256, 0xFF);
  testsupport::WriteFile("data/font/Font.tga", file);
  EXPECT_TRUE(InitDemo(demo_));
  EXPECT_EQ(FontBoxes(), 0u);
  GLint width = 0;
  glBindTexture(GL_TEXTURE_2D, demo_.font.texture);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  EXPECT_EQ(width, 16);
}

TEST_F(TextWiringTest, TheTimelineRunsEachScrollerInItsWindowOnly) {
  InitDemo(demo_);
  At(5000);  // credits, before their text
  EXPECT_EQ(demo_.scrollers.credits.frameCount, 0);
  At(5001);
  At(18999);
  EXPECT_EQ(demo_.scrollers.credits.frameCount, 2);
  At(19000);
  At(157999);
  EXPECT_EQ(demo_.scrollers.credits.frameCount, 2);
  EXPECT_EQ(demo_.scrollers.farewell.frameCount, 0);
  At(158000);
  At(185899);
  EXPECT_EQ(demo_.scrollers.farewell.frameCount, 2);
  At(185900);
  EXPECT_EQ(demo_.scrollers.farewell.frameCount, 2);
}

TEST_F(TextWiringTest, ScrollerStateSurvivesARestart) {
  InitDemo(demo_);
  for (int frame = 0; frame < 25; ++frame) At(10000);
  EXPECT_EQ(demo_.scrollers.credits.position, 2u);
  InitDemo(demo_);  // what F1 runs again in the new window
  At(10000);
  EXPECT_EQ(demo_.scrollers.credits.frameCount, 26);
  EXPECT_EQ(demo_.scrollers.credits.position, 2u);
  EXPECT_EQ(FontBoxes(), 2u);  // one per start-up
}

}  // namespace
