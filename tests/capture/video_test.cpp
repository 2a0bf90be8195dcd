// The video encoder: frame count, sound length and start, colours and quality of tiny videos
//
// Checked with ffprobe/ffmpeg on videos made from the test's own frames and tone.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "CaptureTestSupport.h"
#include "capture/VideoEncoder.h"
#include "support/GLTest.h"

namespace {

using capturetest::Quote;
using capturetest::RunCommand;

// 1 s of silence, then 2 s of a loud tone, as mono MP3 (the video's sound is stereo).
std::string MakeMusic(const std::filesystem::path& dir) {
  const std::string path = (dir / "music.mp3").string();
  const auto made = RunCommand(
      "ffmpeg -hide_banner -loglevel error -y -f lavfi -i "
      "\"aevalsrc='if(gte(t,1),0.8*sin(2*PI*440*t),0)':s=44100:d=3\" " +
      Quote(path));
  EXPECT_EQ(made.exitCode, 0) << made.output;
  return path;
}

double Probe(const std::string& path, const std::string& stream, const std::string& entry) {
  const auto probed =
      RunCommand("ffprobe -v error -select_streams " + stream +
                 " -count_frames -show_entries stream=" + entry + " -of default=nw=1:nk=1 " + Quote(path));
  return probed.exitCode == 0 && !probed.output.empty() ? std::stod(probed.output) : -1.0;
}

// Root mean square of the first half second of the video's sound, 0..1.
double LoudnessOfFirstHalfSecond(const std::string& video) {
  const auto pcm = RunCommand("ffmpeg -hide_banner -loglevel error -i " + Quote(video) +
                              " -t 0.5 -vn -ac 1 -ar 8000 -f s16le - 2>/dev/null");
  double sum = 0.0;
  const size_t samples = pcm.output.size() / 2;
  for (size_t i = 0; i < samples; ++i) {
    const int16_t v = static_cast<int16_t>(static_cast<uint8_t>(pcm.output[2 * i]) |
                                           (static_cast<uint8_t>(pcm.output[2 * i + 1]) << 8));
    sum += (v / 32768.0) * (v / 32768.0);
  }
  return samples > 0 ? std::sqrt(sum / samples) : -1.0;
}

// RGBA, bottom row first, 32 x 16: the upper half white, the lower half dark red.
std::vector<uint8_t> TwoToneFrame() {
  std::vector<uint8_t> rgba;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 32; ++x) {
      const uint8_t red = y < 8 ? 128 : 255;
      const uint8_t rest = y < 8 ? 0 : 255;
      rgba.insert(rgba.end(), {red, rest, rest, 255});
    }
  }
  return rgba;
}

struct Encoded {
  std::string path;
  std::string error;  // from Open, WriteFrame or Close
};

Encoded Encode(capture::VideoSettings settings, const std::vector<uint8_t>& rgba, int frames) {
  capture::VideoEncoder encoder;
  std::string error;
  bool ok = encoder.Open(settings, &error);
  for (int i = 0; ok && i < frames; ++i) ok = encoder.WriteFrame(rgba.data(), &error);
  if (ok) ok = encoder.Close(&error);
  return {settings.path, ok ? "" : error};
}

capture::VideoSettings Small(const std::filesystem::path& dir, const std::string& name,
                             const std::string& music, int64_t startUs = 0) {
  capture::VideoSettings settings;
  settings.path = (dir / name).string();
  settings.width = 32;
  settings.height = 16;
  settings.fps = 10;
  settings.startUs = startUs;
  settings.musicPath = music;
  return settings;
}

TEST(VideoEncoderTest, SoundIsAsLongAsThePicturesAndStartsAtTheFirstFramesTime) {
  const auto dir = testsupport::ScratchDir();
  const std::string music = MakeMusic(dir);
  const auto frame = TwoToneFrame();
  struct Case {
    const char* name;
    int64_t startUs;
    int frames;
    bool loudStart;
  };
  // Shorter than the music (cut), longer (padded with silence), and from the tone's time.
  for (const Case& c : {Case{"short.mp4", 0, 10, false}, Case{"long.mp4", 0, 40, false},
                        Case{"from1.2s.mp4", 1200000, 10, true}}) {
    SCOPED_TRACE(c.name);
    const Encoded video = Encode(Small(dir, c.name, music, c.startUs), frame, c.frames);
    ASSERT_EQ(video.error, "");
    EXPECT_EQ(Probe(video.path, "v:0", "nb_read_frames"), c.frames);
    EXPECT_NEAR(Probe(video.path, "a:0", "duration"), c.frames / 10.0, 0.03);
    const double loudness = LoudnessOfFirstHalfSecond(video.path);
    if (c.loudStart) {
      EXPECT_GT(loudness, 0.3);
    } else {
      EXPECT_LT(loudness, 0.01);
    }
  }
}

TEST(VideoEncoderTest, WithoutMusicThereIsNoSoundStream) {
  const Encoded video = Encode(Small(testsupport::ScratchDir(), "silent.mp4", ""), TwoToneFrame(), 3);
  ASSERT_EQ(video.error, "");
  EXPECT_EQ(Probe(video.path, "v:0", "nb_read_frames"), 3.0);
  EXPECT_EQ(Probe(video.path, "a:0", "duration"), -1.0);
}

TEST(VideoEncoderTest, PicturesComeOutUprightAndInTheirColours) {
  const Encoded video = Encode(Small(testsupport::ScratchDir(), "upright.mp4", ""), TwoToneFrame(), 1);
  ASSERT_EQ(video.error, "");
  const auto rgb = RunCommand("ffmpeg -hide_banner -loglevel error -i " + Quote(video.path) +
                              " -frames:v 1 -f rawvideo -pix_fmt rgb24 - 2>/dev/null");
  ASSERT_EQ(rgb.output.size(), 32u * 16u * 3u);
  const auto at = [&](int x, int y, int c) { return static_cast<uint8_t>(rgb.output[(y * 32 + x) * 3 + c]); };
  EXPECT_GT(at(16, 1, 0), 230);  // top: white
  EXPECT_GT(at(16, 1, 2), 230);
  EXPECT_NEAR(at(16, 14, 0), 128, 12);  // bottom: dark red
  EXPECT_LT(at(16, 14, 1), 20);
  EXPECT_LT(at(16, 14, 2), 20);
}

TEST(VideoEncoderTest, LowerCrfGivesALargerFile) {
  const auto dir = testsupport::ScratchDir();
  // Noise, which costs bits in proportion to the quality kept.
  std::vector<uint8_t> noise(64 * 64 * 4);
  uint32_t state = 1;
  for (uint8_t& byte : noise) byte = static_cast<uint8_t>((state = state * 214013 + 2531011) >> 24);
  capture::VideoSettings fine = Small(dir, "fine.mp4", "");
  capture::VideoSettings coarse = Small(dir, "coarse.mp4", "");
  fine.width = fine.height = coarse.width = coarse.height = 64;
  fine.crf = 10;
  coarse.crf = 40;
  ASSERT_EQ(Encode(fine, noise, 5).error, "");
  ASSERT_EQ(Encode(coarse, noise, 5).error, "");
  EXPECT_GT(std::filesystem::file_size(fine.path), 2 * std::filesystem::file_size(coarse.path));
}

TEST(VideoEncoderTest, UnwritableFileOrUnreadableMusicIsRefusedAtOpen) {
  const auto dir = testsupport::ScratchDir();
  testsupport::WriteFile(dir / "noise.mp3", std::vector<unsigned char>(5000, 0x55));
  struct Case {
    std::string path;
    std::string music;
    std::string named;  // what the error names
  };
  for (const Case& c : {Case{"/nonexistent-folder/v.mp4", "", "/nonexistent-folder/v.mp4"},
                        Case{(dir / "a.mp4").string(), (dir / "missing.mp3").string(), "missing.mp3"},
                        Case{(dir / "b.mp4").string(), (dir / "noise.mp3").string(), "noise.mp3"}}) {
    SCOPED_TRACE(c.named);
    capture::VideoSettings settings = Small(dir, "", c.music);
    settings.path = c.path;
    capture::VideoEncoder encoder;
    std::string error;
    EXPECT_FALSE(encoder.Open(settings, &error));
    EXPECT_NE(error.find(c.named), std::string::npos) << error;
    EXPECT_FALSE(encoder.IsOpen());
  }
}

}  // namespace
