// The capture run end to end: frames, keys, restarts and files, on the headless backend
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "CaptureTestSupport.h"
#include "support/GLTest.h"

// Small sizes and low frame rates keep each run to a second or two. Scene checks skip (saying why) when this
// build or its run folder lacks the scene's module or data; they run as soon as both are there.

#if __has_include("director/Scrollers.h")
constexpr bool kHasScrollers = true;
#else
constexpr bool kHasScrollers = false;
#endif
#if __has_include("director/Flight.h")
constexpr bool kHasFlight = true;
#else
constexpr bool kHasFlight = false;
#endif
#if __has_include("director/EffectScenes.h")
constexpr bool kHasEffectScenes = true;
#else
constexpr bool kHasEffectScenes = false;
#endif

namespace {

namespace fs = std::filesystem;
using capturetest::Picture;
using capturetest::Quote;

fs::path RunDir() {
  const char* dir = std::getenv("LANDSCAPE_RUN_DIR");
  return dir != nullptr ? fs::path(dir) : fs::path(LANDSCAPE_CAPTURE_EXE).parent_path() / "demo";
}

bool HasRunFile(const char* relative) { return fs::exists(RunDir() / relative); }

// Runs the tool in the run folder (or, without one, in `fallback`) with `args`.
capturetest::RunResult Capture(const std::string& args, const fs::path& fallback = {}) {
  const fs::path dir = fs::is_directory(RunDir()) || fallback.empty() ? RunDir() : fallback;
  return capturetest::RunCommand("cd " + Quote(dir.string()) + " && " + Quote(LANDSCAPE_CAPTURE_EXE) + " " +
                                 args);
}

Picture Frame(const fs::path& dir, const char* name) {
  Picture picture;
  EXPECT_TRUE(capturetest::ReadPng(dir / name, &picture)) << (dir / name);
  return picture;
}

bool Lit(const uint8_t* p) { return p[0] + p[1] + p[2] > 30; }

// Nothing but the clear colour: the scene of that time is not wired into this build's
// timeline yet (a wired scene always draws something).
bool Blank(const Picture& p) {
  return std::all_of(p.rgb.begin(), p.rgb.end(), [](uint8_t v) { return v == 0; });
}

#define SKIP_IF_BLANK(picture, what)                                      \
  if (Blank(picture))                                                     \
  GTEST_SKIP() << "nothing is drawn at " << what << " ms: that scene is " \
               << "not in this build's timeline yet"

double LitShare(const Picture& p, int y0, int y1) {
  int lit = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = 0; x < p.width; ++x) lit += Lit(p.At(x, y)) ? 1 : 0;
  }
  return static_cast<double>(lit) / ((y1 - y0) * p.width);
}

// Mean colour of rows [y0, y1).
std::array<double, 3> Mean(const Picture& p, int y0, int y1) {
  std::array<double, 3> sum = {0, 0, 0};
  for (int y = y0; y < y1; ++y) {
    for (int x = 0; x < p.width; ++x) {
      for (int c = 0; c < 3; ++c) sum[c] += p.At(x, y)[c];
    }
  }
  for (double& s : sum) s /= (y1 - y0) * p.width;
  return sum;
}

TEST(CaptureRunTest, HelpAndBadArguments) {
  const auto help = capturetest::RunCommand(Quote(LANDSCAPE_CAPTURE_EXE) + " --help");
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.output.find("--video"), std::string::npos);
  const auto bad = capturetest::RunCommand(Quote(LANDSCAPE_CAPTURE_EXE) + " --fps 0");
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_NE(bad.output.find("--fps"), std::string::npos);
}

TEST(CaptureRunTest, WritesExactlyTheFramesOfTheRangeNamedByProgrammeTime) {
  const fs::path out = testsupport::ScratchDir();
  const auto run = Capture(
      "--quiet --size 64x48 --fps 10 --from 1000 --to 1500 --png " + Quote((out / "png").string()), out);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(out / "png"))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"t001000.png", "t001100.png", "t001200.png", "t001300.png",
                                             "t001400.png"}));
  const Picture first = Frame(out / "png", "t001000.png");
  EXPECT_EQ(first.width, 64);
  EXPECT_EQ(first.height, 48);
}

TEST(CaptureRunTest, MessageBoxesArePrintedAndAnsweredWithoutStopping) {
  // An empty folder: every data file is missing, and the demo says so in its boxes.
  const fs::path empty = testsupport::ScratchDir();
  const auto run =
      capturetest::RunCommand("cd " + Quote(empty.string()) + " && " + Quote(LANDSCAPE_CAPTURE_EXE) +
                              " --size 64x48 --fps 5 --to 1000 --png out");
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("Error: Could not generate landscape from heightmap info\n"), std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("Error: Error loading font\n"), std::string::npos) << run.output;
  EXPECT_TRUE(fs::exists(empty / "out" / "t000800.png"));  // and the show went on
}

TEST(CaptureRunTest, TwoCapturesOfTheSameRangeAreByteIdentical) {
  const fs::path out = testsupport::ScratchDir();
  // The tunnel with its particle jet: frame-by-frame animation and the runtime's own rand.
  const std::string range = "--quiet --size 96x72 --fps 20 --from 20000 --to 20300 --png ";
  ASSERT_EQ(Capture(range + Quote((out / "a").string()), out).exitCode, 0);
  ASSERT_EQ(Capture(range + Quote((out / "b").string()), out).exitCode, 0);
  int compared = 0;
  for (const auto& entry : fs::directory_iterator(out / "a")) {
    const auto name = entry.path().filename();
    EXPECT_EQ(capturetest::ReadBytes(entry.path()), capturetest::ReadBytes(out / "b" / name)) << name;
    ++compared;
  }
  EXPECT_EQ(compared, 6);
}

TEST(CaptureRunTest, CreditsPanelSlidesDown) {
  if (!kHasScrollers) GTEST_SKIP() << "the scroller scenes are not in this build";
  if (!HasRunFile("data/textures/console.png")) GTEST_SKIP() << "no backdrop picture in " << RunDir();
  const fs::path out = testsupport::ScratchDir();
  const auto run =
      Capture("--quiet --size 320x240 --fps 10 --from 2000 --to 4001 --png " + Quote(out.string()));
  ASSERT_EQ(run.exitCode, 0) << run.output;
  // The lowest row of the panel, looked for above the headline in the bottom corner.
  const auto panel_bottom = [](const Picture& p) {
    int bottom = -1;
    for (int y = 0; y < p.height * 3 / 4; ++y) {
      if (LitShare(p, y, y + 1) > 0.5) bottom = y;
    }
    return bottom;
  };
  const Picture first = Frame(out, "t002000.png");
  SKIP_IF_BLANK(first, 2000);
  const int at2000 = panel_bottom(first);
  const int at4000 = panel_bottom(Frame(out, "t004000.png"));
  ASSERT_GE(at2000, 0) << "no panel at 2000 ms";
  // The panel moves 0.0036 units per ms at depth 30, where the screen's half height is
  // 30 tan 22.5 degrees: 7.2 units from 2000 to 4000 ms are 69.5 of 240 rows.
  EXPECT_NEAR(at4000 - at2000, 69.5, 3.0) << at2000 << " -> " << at4000;
}

TEST(CaptureRunTest, TunnelFillsTheScreenAt30Seconds) {
  if (!kHasEffectScenes) GTEST_SKIP() << "the tunnel scene is not in this build";
  if (!HasRunFile("textures/ttex_1.jpg")) GTEST_SKIP() << "no tunnel picture in " << RunDir();
  const fs::path out = testsupport::ScratchDir();
  const auto run =
      Capture("--quiet --size 160x120 --fps 10 --from 30000 --to 30001 --png " + Quote(out.string()));
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const Picture frame = Frame(out, "t030000.png");
  SKIP_IF_BLANK(frame, 30000);
  // The textured walls surround the view; only the far end may stay dark.
  EXPECT_GT(LitShare(frame, 0, frame.height), 0.6);
  EXPECT_GT(LitShare(frame, 0, 10), 0.8);
  EXPECT_GT(LitShare(frame, frame.height - 10, frame.height), 0.8);
}

TEST(CaptureRunTest, FlightShowsSkyAboveTerrainAt80Seconds) {
  if (!kHasFlight) GTEST_SKIP() << "the flight scene is not in this build";
  if (!HasRunFile("data/terrain/TerrainData4.bmp") || !HasRunFile("data/gfx/skybox/sky.bmp")) {
    GTEST_SKIP() << "no terrain or sky data in " << RunDir();
  }
  const fs::path out = testsupport::ScratchDir();
  // The flight moves per drawn frame, so the view at 80000 ms depends on the frame rate; at
  // 5 fps (the 100th flight frame) the horizon crosses the upper fifth of the picture.
  const auto run =
      Capture("--quiet --size 160x120 --fps 5 --from 80000 --to 80001 --png " + Quote(out.string()));
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const Picture frame = Frame(out, "t080000.png");
  SKIP_IF_BLANK(frame, 80000);
  // Sky box and terrain between them cover every pixel: none keeps the black clear colour.
  // (Not LitShare: the island's woods are nearly black, though never quite.)
  int cleared = 0;
  for (int y = 0; y < frame.height; ++y) {
    for (int x = 0; x < frame.width; ++x) {
      const uint8_t* p = frame.At(x, y);
      cleared += p[0] == 0 && p[1] == 0 && p[2] == 0;
    }
  }
  EXPECT_EQ(cleared, 0);
  const auto sky = Mean(frame, 0, 12);
  const auto ground = Mean(frame, frame.height - 12, frame.height);
  const double apart =
      std::abs(sky[0] - ground[0]) + std::abs(sky[1] - ground[1]) + std::abs(sky[2] - ground[2]);
  EXPECT_GT(apart, 60.0) << "top and bottom of the picture look alike: no sky above the terrain";
}

// Share of pixels that differ between two pictures of one size.
double ChangedShare(const Picture& a, const Picture& b) {
  EXPECT_EQ(a.rgb.size(), b.rgb.size());
  int changed = 0;
  for (size_t i = 0; i + 2 < std::min(a.rgb.size(), b.rgb.size()); i += 3) {
    changed += std::equal(&a.rgb[i], &a.rgb[i + 3], &b.rgb[i]) ? 0 : 1;
  }
  return static_cast<double>(changed) / (a.width * a.height);
}

TEST(CaptureRunTest, OctreeBoxesShowInTheFrameAfterP) {
  if (!kHasFlight) GTEST_SKIP() << "the flight scene is not in this build";
  if (!HasRunFile("data/terrain/TerrainData4.bmp")) GTEST_SKIP() << "no heightmap in " << RunDir();
  const fs::path out = testsupport::ScratchDir();
  const std::string range = "--quiet --size 160x120 --fps 5 --from 80000 --to 80401 --png ";
  ASSERT_EQ(Capture(range + Quote((out / "plain").string())).exitCode, 0);
  ASSERT_EQ(Capture("--keys 80000:P " + range + Quote((out / "boxes").string())).exitCode, 0);
  const Picture plain = Frame(out / "plain", "t080200.png");
  SKIP_IF_BLANK(plain, 80200);
  // P goes down before the frame at 80000 and acts after it: that frame is unchanged.
  EXPECT_EQ(capturetest::ReadBytes(out / "plain" / "t080000.png"),
            capturetest::ReadBytes(out / "boxes" / "t080000.png"));
  // From the next frame on the box edges show, as lines over the picture: it changes in
  // places, not everywhere. One press flips the display once, so they stay.
  for (const char* name : {"t080200.png", "t080400.png"}) {
    const double share = ChangedShare(Frame(out / "plain", name), Frame(out / "boxes", name));
    EXPECT_GT(share, 0.005) << name << ": no boxes drawn";
    EXPECT_LT(share, 0.9) << name << ": the whole picture changed, not just box edges";
  }
}

TEST(CaptureRunTest, VideoOfTheWholeProgrammeHasEveryFrameAndTheMusic) {
  const fs::path out = testsupport::ScratchDir();
  const std::string video = (out / "demo.mp4").string();
  const auto run = Capture("--quiet --size 64x48 --fps 2 --video " + Quote(video), out);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const auto probe = [&](const std::string& stream, const std::string& entry) {
    const auto r = capturetest::RunCommand("ffprobe -v error -select_streams " + stream +
                                           " -count_frames -show_entries stream=" + entry +
                                           " -of default=nw=1:nk=1 " + Quote(video));
    return r.exitCode == 0 && !r.output.empty() ? std::stod(r.output) : -1.0;
  };
  // Frames at 0, 500, ..., 185500 ms: 372 of them, 186 s at 2 per second.
  EXPECT_EQ(probe("v:0", "nb_read_frames"), 372.0);
  if (!HasRunFile("data/demosong.mp3"))
    GTEST_SKIP() << "no music in " << RunDir() << " to check the sound with";
  EXPECT_NEAR(probe("a:0", "duration"), 185.9, 0.2);
}

}  // namespace
