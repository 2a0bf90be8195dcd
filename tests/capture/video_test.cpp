// The video encoder and the quality per scene: frames, sound, colours, refusals, and each scene's CRF
//
// Checked with ffprobe/ffmpeg on videos made from the test's own frames and tone.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>

#include "CaptureTestSupport.h"
#include "capture/SceneQuality.h"
#include "capture/VideoEncoder.h"
#include "support/Scratch.h"

namespace {

using capturetest::Probe;

// Writes `frames` copies of `rgba`, each after setting the CRF to `frameCrf` (none: -1); the video's path,
// empty when Open, SetCrf, WriteFrame or Close failed.
std::string Encode(const capture::VideoSettings& settings, const std::vector<uint8_t>& rgba, int frames,
                   int frameCrf = -1) {
  capture::VideoEncoder encoder;
  std::string error;
  bool ok = encoder.Open(settings, &error);
  for (int i = 0; ok && i < frames; ++i)
    ok = (frameCrf < 0 || encoder.SetCrf(frameCrf, &error)) && encoder.WriteFrame(rgba.data(), &error);
  if (ok) ok = encoder.Close(&error);
  EXPECT_EQ(error, "") << settings.path;
  return ok ? settings.path : "";
}

// 32 x 16 at 10 frames a second.
capture::VideoSettings Small(const std::filesystem::path& dir, const std::string& name,
                             const std::string& music = "") {
  return {.path = (dir / name).string(), .width = 32, .height = 16, .fps = 10, .musicPath = music};
}

// Where the sound starts is shown by the tool's short video, against the demo's own song.
TEST(VideoEncoderTest, SoundIsAsLongAsThePicturesWhichComeOutUpright) {
  const auto dir = testsupport::ScratchDir();
  const std::string music = (dir / "music.mp3").string();  // a 3 s tone, mono (the video's sound is stereo)
  const auto made =
      capturetest::RunCommand("ffmpeg -loglevel error -f lavfi -i sine=d=3 " + capturetest::Quote(music));
  ASSERT_EQ(made.exitCode, 0) << made.output;
  std::vector<uint8_t> frame(32 * 16 * 4, 255);  // RGBA, bottom row first: white over dark red
  for (size_t i = 0; i < 256 * 4; i += 4) std::copy_n(std::array<uint8_t, 3>{128, 0, 0}.data(), 3, &frame[i]);
  // Shorter than the music (cut), longer (padded with silence), and without music.
  for (const auto& [name, withMusic, frames] :
       {std::tuple("short.mp4", true, 10), std::tuple("long.mp4", true, 40),
        std::tuple("silent.mp4", false, 3)}) {
    SCOPED_TRACE(name);
    const std::string video = Encode(Small(dir, name, withMusic ? music : ""), frame, frames);
    ASSERT_NE(video, "");
    EXPECT_EQ(Probe(video, "v:0", "nb_read_frames"), frames);
    EXPECT_NEAR(Probe(video, "a:0", "duration"), withMusic ? frames / 10.0 : -1.0, 0.03);
  }
  // The pictures come out upright and in their colours.
  const std::string rgb = capturetest::DecodeRgb((dir / "silent.mp4").string());
  ASSERT_EQ(rgb.size(), 32u * 16u * 3u);
  const auto at = [&](int y, int c) { return uint8_t(rgb[(y * 32 + 16) * 3 + c]); };
  EXPECT_GT(std::min(at(1, 0), at(1, 2)), 230);  // top: white
  EXPECT_NEAR(at(14, 0), 128, 12);               // bottom: dark red
  EXPECT_LT(std::max(at(14, 1), at(14, 2)), 20);
}

TEST(VideoEncoderTest, UnwritableFileOrUnreadableMusicIsRefusedAtOpenAndNamed) {
  const auto dir = testsupport::ScratchDir();
  testsupport::WriteFile(dir / "noise.mp3", std::vector<unsigned char>(5000, 0x55));
  for (const auto& [path, music] : {std::pair<std::string, std::string>{"/nonexistent-folder/v.mp4", ""},
                                    {(dir / "a.mp4").string(), (dir / "missing.mp3").string()},
                                    {(dir / "b.mp4").string(), (dir / "noise.mp3").string()}}) {
    capture::VideoEncoder encoder;
    std::string error;
    EXPECT_FALSE(encoder.Open({.path = path, .width = 32, .height = 16, .musicPath = music}, &error));
    EXPECT_NE(error.find(music.empty() ? path : std::filesystem::path(music).filename().string()),
              std::string::npos)
        << error;
    EXPECT_FALSE(encoder.IsOpen());
  }
}

TEST(SceneQualityTest, ScenesMoveTheBaseWithinTheEncodersRange) {
  // Base, programme time, and the sign of the CRF's move from the base.
  const std::tuple<int, int32_t, int> cases[] = {
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
  for (const auto& [base, programmeMs, sign] : cases) {
    const int crf = capture::ChooseCrf(base, programmeMs);
    EXPECT_EQ((crf > base) - (crf < base), sign)
        << "base " << base << " at " << programmeMs << " ms: " << crf;
  }
}

// Noise costs bits in proportion to the quality kept: opened at one CRF and every frame written at the
// other (none: -1), the frames' CRF decides the size.
TEST(SceneQualityTest, TheEncoderTakesTheQualityItOpensWithOrTheOneSetBeforeTheFrames) {
  const auto dir = testsupport::ScratchDir();
  std::vector<uint8_t> noise(64 * 64 * 4);
  uint32_t state = 7;
  for (uint8_t& byte : noise) byte = static_cast<uint8_t>((state = state * 214013 + 2531011) >> 24);
  const auto size = [&](const char* name, int openCrf, int frameCrf) {
    capture::VideoSettings settings = Small(dir, name);
    settings.width = settings.height = 64;
    settings.crf = openCrf;
    const std::string video = Encode(settings, noise, 10, frameCrf);
    return video.empty() ? 0 : std::filesystem::file_size(video);
  };
  EXPECT_GT(size("fine.mp4", 40, 10), 2 * size("coarse.mp4", 10, 40));
  EXPECT_GT(size("opened-fine.mp4", 10, -1), 2 * size("opened-coarse.mp4", 40, -1));
}

}  // namespace
