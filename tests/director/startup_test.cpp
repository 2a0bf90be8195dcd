// Start-up on a headless context in a folder without data
#include "director/Startup.h"

#include <tuple>

#include "platform/HeadlessPlatform.h"
#include "support/GLTest.h"

using namespace platform;

namespace {

class Startup : public testsupport::GLTest {
 protected:
  testsupport::ScopedChdir cwd_;
  HeadlessPlatform os_{{AudioOutput::kNull, "", kSoundLibraryVersion, 123456}};
  Demo demo_{os_};
};

// Each start-up takes the clock anew, runs silent without its song, and gives back the backdrop image of
// the one before (the name is the first free one again, so the library did not grow).
TEST_F(Startup, WithoutDataRunsSilentAndEachStartTakesANewClock) {
  EXPECT_TRUE(InitDemo(demo_));
  EXPECT_EQ(std::make_pair(demo_.timeline.TimelineStartTick, os_.Sound().IsInitialised()),
            std::make_pair(123456u, true));
  const unsigned firstImage = demo_.timeline.backdropImage;
  EXPECT_NE(firstImage, 0u);
  // The scene names say it: one torus is a wire frame, the other solid.
  EXPECT_EQ(std::make_pair(demo_.wireTorus.PolygonMode(), demo_.solidTorus.PolygonMode()),
            std::make_pair(0u + GL_LINE, 0u + GL_FILL));
  demo_.timeline.tunnelTextureSlot = demo_.timeline.tunnelImage2;
  os_.AdvanceClock(5000);
  InitDemo(demo_);
  const auto& second = demo_.timeline;
  EXPECT_EQ(std::make_tuple(second.TimelineStartTick, second.backdropImage, second.tunnelTextureSlot),
            std::make_tuple(128456u, firstImage, second.tunnelImage1));
}

}  // namespace
