// Quality per scene: each scene's CRF around the base, and the encoder taking a CRF per frame
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "capture/SceneQuality.h"
#include "capture/VideoEncoder.h"
#include "support/GLTest.h"

namespace {

TEST(SceneQualityTest, ScenesMoveTheBaseWithinTheEncodersRange) {
  struct Case {
    int base;
    int32_t programmeMs;
    int sign;  // of the CRF's move from the base
  };
  const Case cases[] = {
      {24, 60000, -1},               // wire torus: the costliest picture gets more quality
      {24, 10000, +1},               // credits
      {24, 30000, +1},               // tunnel
      {24, 90000, +1},               // flight
      {24, 170000, +1},              // farewell
      {24, -1, 0},                   // before the start: nothing drawn
      {24, 185900, 0},               // at the end
      {0, 60000, 0},                 // no lower than 0
      {capture::kMaxCrf, 10000, 0},  // no higher than 51
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "base " << c.base << " at " << c.programmeMs << " ms");
    const int crf = capture::ChooseCrf(c.base, c.programmeMs);
    EXPECT_EQ((crf > c.base) - (crf < c.base), c.sign) << crf;
  }
}

TEST(SceneQualityTest, TheEncoderTakesTheQualityItOpensWithOrTheOneSetBeforeTheFrames) {
  const auto dir = testsupport::ScratchDir();
  // Noise, which costs bits in proportion to the quality kept.
  std::vector<uint8_t> noise(64 * 64 * 4);
  uint32_t state = 7;
  for (uint8_t& byte : noise) byte = static_cast<uint8_t>((state = state * 214013 + 2531011) >> 24);
  // Opened at one CRF, every frame written at the other (none: -1): the frames' CRF decides the size.
  auto encode = [&](const char* name, int openCrf, int frameCrf) {
    capture::VideoSettings settings;
    settings.path = (dir / name).string();
    settings.width = settings.height = 64;
    settings.crf = openCrf;
    capture::VideoEncoder encoder;
    std::string error;
    bool ok = encoder.Open(settings, &error);
    for (int i = 0; ok && i < 10; ++i)
      ok = (frameCrf < 0 || encoder.SetCrf(frameCrf, &error)) && encoder.WriteFrame(noise.data(), &error);
    if (ok) ok = encoder.Close(&error);
    EXPECT_EQ(error, "") << name;
    return ok ? std::filesystem::file_size(settings.path) : 0;
  };
  EXPECT_GT(encode("fine.mp4", 40, 10), 2 * encode("coarse.mp4", 10, 40));
  EXPECT_GT(encode("opened-fine.mp4", 10, -1), 2 * encode("opened-coarse.mp4", 40, -1));
}

}  // namespace
