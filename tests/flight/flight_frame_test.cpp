// The flight scene inside the programme: start-up builds, and the frame at 80 s
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>

#include "director/Startup.h"
#include "director/Timeline.h"
#include "platform/HeadlessPlatform.h"
#include "support/GLTest.h"
#include "support/TerrainFiles.h"

using namespace platform;

namespace {

class FlightFrame : public testsupport::GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    testsupport::LandscapeFiles files;
    files.size = 256;
    files.height = [](int x, int y) {
      return static_cast<unsigned char>(120 + 100 * std::sin(x * 0.05) * std::cos(y * 0.04));
    };
    const auto dir = testsupport::ScratchDir();
    testsupport::WriteLandscapeFiles(dir, files);
    chdir_ = std::make_unique<testsupport::ScopedChdir>(dir);
    // The projection the window set-up leaves.
    glMatrixMode(GL_PROJECTION);
    gluPerspective(45.0, 1.0, 0.1, 200.0);
    glMatrixMode(GL_MODELVIEW);
  }
  void TearDown() override {
    chdir_.reset();
    GLTest::TearDown();
  }
  std::unique_ptr<testsupport::ScopedChdir> chdir_;
  HeadlessPlatform os_{{AudioOutput::kNull, "", kSoundLibraryVersion, 1000}};
  Demo demo_{os_};
};

TEST_F(FlightFrame, ProgrammeAtEightySecondsFliesOverTheLandscape) {
  InitDemo(demo_);
  // The folder holds only the landscape's files: other modules may report theirs missing.
  for (const auto& box : os_.MessageBoxes()) {
    EXPECT_NE(box.caption, "Error Loading Bitmap") << box.text;
    EXPECT_NE(box.text, "Could not generate landscape from heightmap info");
  }
  ASSERT_EQ(demo_.terrain.TriangleCount(), 130050);
  EXPECT_EQ(demo_.flight.curveA.Evaluate(0.0f).x, -70.0f);
  os_.AdvanceClock(80000);
  RunTimeline(demo_);
  EXPECT_EQ(demo_.flight.phase, 0.013f);
  EXPECT_GT(demo_.terrain.Visible().Count(), 0);
  EXPECT_LT(demo_.terrain.Visible().Count(), 3 * demo_.terrain.VisibleCapacity());
  const auto pixels = ReadPixels();
  auto pixel = [&](int x, int y) {
    const size_t at = (static_cast<size_t>(y) * width_ + x) * 4;
    return std::array<int, 3>{pixels[at], pixels[at + 1], pixels[at + 2]};
  };
  const std::array<int, 3> sky = {testsupport::SkyByte(false, 0), testsupport::SkyByte(false, 1),
                                  testsupport::SkyByte(false, 2)};
  EXPECT_EQ(pixel(width_ / 2, height_ - 1), sky);
  const auto ground = pixel(width_ / 2, 0);
  EXPECT_NE(ground, sky);
  EXPECT_NE(ground, (std::array<int, 3>{0, 0, 0}));
  // The flight keeps its phase through a restart of the whole start-up.
  InitDemo(demo_);
  EXPECT_EQ(demo_.flight.phase, 0.013f);
}

}  // namespace

namespace {

// The same frame over the generated demo data, when the build has made it.
class GeneratedDataFlight : public testsupport::GLTest {
 protected:
  GeneratedDataFlight() : GLTest(320, 240) {}
};

TEST_F(GeneratedDataFlight, GeneratedLandscapeShowsSkyAboveAndGroundBelow) {
  const char* runDir = std::getenv("LANDSCAPE_RUN_DIR");
  if (runDir == nullptr || !std::filesystem::exists(std::filesystem::path(runDir) / kHeightmapPath)) {
    GTEST_SKIP() << "no generated data";
  }
  testsupport::ScopedChdir chdir(runDir);
  glMatrixMode(GL_PROJECTION);
  gluPerspective(45.0, 320.0 / 240.0, 0.1, 200.0);
  glMatrixMode(GL_MODELVIEW);
  HeadlessPlatform os{{AudioOutput::kNull, "", kSoundLibraryVersion, 1000}};
  Demo demo{os};
  InitDemo(demo);
  for (const auto& box : os.MessageBoxes()) ADD_FAILURE() << box.caption << ": " << box.text;
  ASSERT_EQ(demo.terrain.TriangleCount(), 130050);
  os.AdvanceClock(80000);
  RunTimeline(demo);
  EXPECT_GT(demo.terrain.Visible().Count(), 0);
  const auto pixels = ReadPixels();
  if (const char* dump = std::getenv("LANDSCAPE_DUMP_FRAME")) {
    std::ofstream out(dump, std::ios::binary);
    out << "P6 320 240 255\n";
    for (int y = 239; y >= 0; --y) {
      for (int x = 0; x < 320; ++x) out.write(reinterpret_cast<const char*>(&pixels[(y * 320 + x) * 4]), 3);
    }
  }
  // Average brightness of the top and bottom bands: the sky and the lit ground both
  // show (neither is the black clear colour) and they differ.
  auto band = [&](int y0, int y1) {
    double sum[3] = {0, 0, 0};
    for (int y = y0; y < y1; ++y) {
      for (int x = 0; x < 320; ++x) {
        for (int c = 0; c < 3; ++c) sum[c] += pixels[(y * 320 + x) * 4 + c];
      }
    }
    const double n = (y1 - y0) * 320.0;
    return std::array<double, 3>{sum[0] / n, sum[1] / n, sum[2] / n};
  };
  const auto sky = band(220, 240), ground = band(0, 20);
  EXPECT_GT(sky[0] + sky[1] + sky[2], 60.0);
  EXPECT_GT(ground[0] + ground[1] + ground[2], 30.0);
  EXPECT_GT(std::abs(sky[0] - ground[0]) + std::abs(sky[1] - ground[1]) + std::abs(sky[2] - ground[2]), 30.0);
}

}  // namespace
