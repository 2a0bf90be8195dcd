// The video encoder: frame count, audio length and audio start of a tiny video
#include <gtest/gtest.h>

#include <cmath>

#include "CaptureTestSupport.h"
#include "capture/VideoEncoder.h"
#include "support/GLTest.h"

namespace {

using capturetest::Quote;
using capturetest::RunCommand;

// 1 s of silence, then 2 s of a loud tone, as MP3.
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

std::string Encode(const std::filesystem::path& dir, const std::string& name, int64_t start_us,
                   const std::string& music, int frames) {
  capture::VideoSettings settings;
  settings.path = (dir / name).string();
  settings.width = 32;
  settings.height = 16;
  settings.fps = 10;
  settings.startUs = start_us;
  settings.musicPath = music;
  capture::VideoEncoder encoder;
  std::string error;
  EXPECT_TRUE(encoder.Open(settings, &error)) << error;
  // BGRA, bottom row first: the upper half of each frame white, the lower half dark red.
  std::vector<uint8_t> bgra;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 32; ++x)
      bgra.insert(bgra.end(), {0, 0, static_cast<uint8_t>(y < 8 ? 128 : 255), 255});
  }
  for (int y = 8; y < 16; ++y) std::fill(&bgra[y * 32 * 4], &bgra[(y + 1) * 32 * 4], 255);
  for (int i = 0; i < frames; ++i) EXPECT_TRUE(encoder.WriteFrame(bgra.data(), &error)) << error;
  EXPECT_TRUE(encoder.Close(&error)) << error;
  return settings.path;
}

TEST(VideoEncoderTest, ArgumentsSeekTheMusicAndCutItWithThePictures) {
  capture::VideoSettings settings;
  settings.path = "out.mp4";
  settings.startUs = 75016666;
  settings.musicPath = "data/demosong.mp3";
  const auto args = capture::FfmpegArguments(settings);
  const auto after = [&](const std::string& flag) {
    for (size_t i = 0; i + 1 < args.size(); ++i) {
      if (args[i] == flag) return args[i + 1];
    }
    return std::string();
  };
  EXPECT_EQ(after("-ss"), "75.016666");
  EXPECT_EQ(after("-s"), "1024x768");
  EXPECT_EQ(after("-framerate"), "60");
  EXPECT_EQ(after("-pix_fmt"), "bgra");
  EXPECT_EQ(after("-vf"), "vflip");
  EXPECT_EQ(after("-c:v"), "libx264");
  EXPECT_EQ(after("-af"), "apad");
  EXPECT_EQ(args.back(), "out.mp4");
  settings.musicPath.clear();
  const auto silent = capture::FfmpegArguments(settings);
  EXPECT_EQ(std::count(silent.begin(), silent.end(), "-i"), 1);
}

TEST(VideoEncoderTest, FramesAndSoundHaveTheSameLength) {
  const auto dir = testsupport::ScratchDir();
  const std::string music = MakeMusic(dir);
  const std::string video = Encode(dir, "v.mp4", 0, music, 10);
  EXPECT_EQ(Probe(video, "v:0", "nb_read_frames"), 10.0);
  EXPECT_NEAR(Probe(video, "a:0", "duration"), 1.0, 0.05);
  // The music is longer than the pictures here and shorter in the next: padded, never cut short.
  const std::string longer = Encode(dir, "long.mp4", 0, music, 40);
  EXPECT_EQ(Probe(longer, "v:0", "nb_read_frames"), 40.0);
  EXPECT_NEAR(Probe(longer, "a:0", "duration"), 4.0, 0.05);
}

TEST(VideoEncoderTest, SoundStartsAtTheFirstFramesProgrammeTime) {
  const auto dir = testsupport::ScratchDir();
  const std::string music = MakeMusic(dir);
  EXPECT_LT(LoudnessOfFirstHalfSecond(Encode(dir, "from0.mp4", 0, music, 10)), 0.01);
  EXPECT_GT(LoudnessOfFirstHalfSecond(Encode(dir, "from1.mp4", 1200000, music, 10)), 0.3);
}

TEST(VideoEncoderTest, PicturesComeOutUprightAndInTheirColours) {
  const auto dir = testsupport::ScratchDir();
  const std::string video = Encode(dir, "upright.mp4", 0, "", 1);
  const auto rgb = RunCommand("ffmpeg -hide_banner -loglevel error -i " + Quote(video) +
                              " -frames:v 1 -f rawvideo -pix_fmt rgb24 - 2>/dev/null");
  ASSERT_EQ(rgb.output.size(), 32u * 16u * 3u);
  const auto at = [&](int x, int y, int c) { return static_cast<uint8_t>(rgb.output[(y * 32 + x) * 3 + c]); };
  EXPECT_GT(at(16, 1, 0), 230);  // top: white
  EXPECT_GT(at(16, 1, 2), 230);
  EXPECT_NEAR(at(16, 14, 0), 128, 12);  // bottom: dark red
  EXPECT_LT(at(16, 14, 1), 20);
  EXPECT_LT(at(16, 14, 2), 20);
}

TEST(VideoEncoderTest, WithoutMusicThereIsNoSoundStream) {
  const auto dir = testsupport::ScratchDir();
  const std::string video = Encode(dir, "silent.mp4", 0, "", 3);
  EXPECT_EQ(Probe(video, "v:0", "nb_read_frames"), 3.0);
  EXPECT_EQ(Probe(video, "a:0", "duration"), -1.0);
}

TEST(VideoEncoderTest, AnEncoderThatCannotWriteReportsFailure) {
  capture::VideoSettings settings;
  settings.path = "/nonexistent-folder/v.mp4";
  settings.width = 16;
  settings.height = 16;
  capture::VideoEncoder encoder;
  std::string error;
  ASSERT_TRUE(encoder.Open(settings, &error)) << error;
  std::vector<uint8_t> bgra(16 * 16 * 4, 0);
  bool wrote = true;
  for (int i = 0; i < 200 && wrote; ++i) wrote = encoder.WriteFrame(bgra.data(), &error);
  EXPECT_FALSE(encoder.Close(&error));
  EXPECT_NE(error.find("ffmpeg"), std::string::npos);
}

}  // namespace
