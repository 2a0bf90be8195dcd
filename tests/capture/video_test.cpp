// The video encoder and the quality per scene: frames, sound, colours, refusals, and each scene's CRF
//
// Checked with ffprobe/ffmpeg on videos made from the test's own frames and tone.
#include <gtest/gtest.h>

#include <filesystem>

#include "CaptureTestSupport.h"
#include "capture/SceneQuality.h"
#include "capture/VideoEncoder.h"
#include "support/Scratch.h"

namespace {

using capturetest::Probe;

// 1 s of silence, then 2 s of a loud tone, as mono MP3 (the video's sound is stereo).
std::string MakeMusic(const std::filesystem::path& dir) {
  const std::string path = (dir / "music.mp3").string();
  const auto made = capturetest::RunCommand(
      "ffmpeg -hide_banner -loglevel error -y -f lavfi -i "
      "\"aevalsrc='if(gte(t,1),0.8*sin(2*PI*440*t),0)':s=44100:d=3\" " +
      capturetest::Quote(path));
  EXPECT_EQ(made.exitCode, 0) << made.output;
  return path;
}

// RGBA, bottom row first, 32 x 16: the upper half white, the lower half dark red.
std::vector<uint8_t> TwoToneFrame() {
  std::vector<uint8_t> rgba;
  for (int i = 0; i < 32 * 16; ++i)
    rgba.insert(rgba.end(),
                {uint8_t(i < 256 ? 128 : 255), uint8_t(i < 256 ? 0 : 255), uint8_t(i < 256 ? 0 : 255), 255});
  return rgba;
}

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
                             const std::string& music = "", int64_t startUs = 0) {
  return {.path = (dir / name).string(),
          .width = 32,
          .height = 16,
          .fps = 10,
          .startUs = startUs,
          .musicPath = music};
}

TEST(VideoEncoderTest, SoundIsAsLongAsThePicturesAndStartsAtTheFirstFramesTime) {
  const auto dir = testsupport::ScratchDir();
  const std::string music = MakeMusic(dir);
  struct Case {
    const char* name;
    bool music;
    int64_t startUs;
    int frames;
    int loud;  // the first half second: 1 loud, 0 silent, -1 no sound to measure
  };
  // Shorter than the music (cut), longer (padded with silence), from the tone's time, and without music.
  for (const Case& c : {Case{"short.mp4", true, 0, 10, 0}, Case{"long.mp4", true, 0, 40, 0},
                        Case{"from1.2s.mp4", true, 1200000, 10, 1}, Case{"silent.mp4", false, 0, 3, -1}}) {
    SCOPED_TRACE(c.name);
    const std::string video =
        Encode(Small(dir, c.name, c.music ? music : "", c.startUs), TwoToneFrame(), c.frames);
    ASSERT_NE(video, "");
    EXPECT_EQ(Probe(video, "v:0", "nb_read_frames"), c.frames);
    EXPECT_NEAR(Probe(video, "a:0", "duration"), c.music ? c.frames / 10.0 : -1.0, 0.03);
    if (c.loud >= 0) {
      const double volume = capturetest::MeanVolume(video);
      EXPECT_TRUE(c.loud == 1 ? volume > -15 : volume < -60) << volume;
    }
  }
}

TEST(VideoEncoderTest, PicturesComeOutUprightAndInTheirColours) {
  const std::string rgb =
      capturetest::DecodeRgb(Encode(Small(testsupport::ScratchDir(), "upright.mp4"), TwoToneFrame(), 1));
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
