// The capture tool end to end: its exit codes, the frames of a range, answered boxes, repeatability, a video
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <iterator>

#include "CaptureTestSupport.h"
#include "support/Scratch.h"

namespace {

namespace fs = std::filesystem;
using capturetest::Quote;

// Runs the tool with `args` in `dir` (by default the run folder, whose data the demo reads).
capturetest::RunResult Capture(const std::string& args, const fs::path& dir = testsupport::RunDir()) {
  return capturetest::RunCommand("cd " + Quote(dir.string()) + " && " + Quote(LANDSCAPE_CAPTURE_EXE) + " " +
                                 args);
}

TEST(CaptureRunTest, HelpSucceedsAndBadArgumentsExitWithTwo) {
  const auto help = Capture("--help"), bad = Capture("--fps 0");
  EXPECT_EQ(std::tuple(help.exitCode, bad.exitCode), std::tuple(0, 2));
  EXPECT_NE(help.output.find("--video"), std::string::npos);
  EXPECT_NE(bad.output.find("--fps"), std::string::npos);
}

TEST(CaptureRunTest, TwoCapturesOfARangeWriteTheSameFramesNamedByProgrammeTime) {
  const fs::path out = testsupport::ScratchDir();
  // The tunnel with its particle jet: frame-by-frame animation and the runtime's own rand.
  const std::string range = "--quiet --size 64x48 --fps 10 --from 20000 --to 20500 --png ";
  ASSERT_EQ(Capture(range + Quote((out / "a").string())).exitCode, 0);
  ASSERT_EQ(Capture(range + Quote((out / "b").string())).exitCode, 0);
  // Exactly these five frames, byte for byte the same from both runs.
  EXPECT_EQ(std::distance(fs::directory_iterator(out / "a"), fs::directory_iterator()), 5);
  for (const char* name : {"t020000.png", "t020100.png", "t020200.png", "t020300.png", "t020400.png"}) {
    const auto a = testsupport::ReadFile(out / "a" / name);
    EXPECT_TRUE(!a.empty() && a == testsupport::ReadFile(out / "b" / name)) << name;
  }
  EXPECT_EQ(capturetest::DecodeRgb((out / "a" / "t020000.png").string()).size(), 64u * 48 * 3);
}

TEST(CaptureRunTest, MessageBoxesArePrintedAndAnsweredWithoutStopping) {
  // An empty folder: every data file is missing, and the demo says so in its boxes.
  const fs::path empty = testsupport::ScratchDir();
  const auto run = Capture("--size 64x48 --fps 5 --to 1000 --png out", empty);
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("Error: Could not generate landscape from heightmap info\n"), std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("Error: Error loading font\n"), std::string::npos) << run.output;
  EXPECT_TRUE(fs::exists(empty / "out" / "t000800.png"));  // and the show went on
}

TEST(CaptureRunTest, AShortVideoHasEveryFrameAndTheMusicOfItsTime) {
  const std::string video = (testsupport::ScratchDir() / "demo.mp4").string();
  const auto run = Capture("--quiet --size 64x48 --fps 5 --from 1000 --to 3000 --video " + Quote(video));
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(capturetest::Probe(video, "v:0", "nb_read_frames"), 10.0);
  EXPECT_NEAR(capturetest::Probe(video, "a:0", "duration"), 2.0, 0.03);
  // The sound starts at the first frame's programme time: it sounds like the song from 1 s, not from 0 s.
  const std::string song = (testsupport::RunDir() / "data/demosong.mp3").string();
  const double volume = capturetest::MeanVolume(video);
  EXPECT_LT(std::abs(volume - capturetest::MeanVolume(song, 1)),
            std::abs(volume - capturetest::MeanVolume(song, 0)))
      << volume;
}

}  // namespace
