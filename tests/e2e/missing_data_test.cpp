// The demo without its data, or with damaged data
#include <gtest/gtest.h>

#include <fstream>

#include "E2E.h"

// The programme still runs to its end and exits with 0, and the only boxes are the reports its readers make.

namespace fs = std::filesystem;
using e2e::DemoRun;

namespace {

const std::string kLandscapeFailed = "Could not generate landscape from heightmap info / Error / main window";
const std::string kFontFailed = "Error loading font / Error / main window";

std::string BitmapFailed(const std::string& path) {
  return "An error occured while opening " + path + " / Error Loading Bitmap / no owner";
}

struct DataCase {
  std::string path;                // relative to the run folder
  std::vector<std::string> boxes;  // what its loss shows, in order
};

void PrintTo(const DataCase& c, std::ostream* os) { *os << c.path; }

std::vector<DataCase> DataCases() {
  const std::string heightmap = "data/terrain/TerrainData4.bmp";
  const std::string sky = "data/gfx/skybox/sky.bmp";
  const std::string stone = "data/gfx/skybox/stone.bmp";
  std::vector<DataCase> cases = {
      {heightmap, {BitmapFailed(heightmap), kLandscapeFailed}},
      // The sky box stops at its first missing face, so each picture is reported once,
      // and the landscape build gives up with it.
      {sky, {BitmapFailed(sky), kLandscapeFailed}},
      {stone, {BitmapFailed(stone), kLandscapeFailed}},
      {"data/font/Font.tga", {kFontFailed}},
      // Pictures read through the JPEG reader or the image library, and the music: the
      // show goes on without them, silently.
      {"textures/particle.jpg", {}},
      {"textures/torus.jpg", {}},
      {"textures/bg1.jpg", {}},
      {"textures/ttex_1.jpg", {}},
      {"textures/ttex_2.jpg", {}},
      {"data/textures/console.png", {}},
      {"data/demosong.mp3", {}},
  };
  // A layer is reported by its reader only: the texture synthesis does not give up. The
  // second picture makes two layers and is read twice.
  for (int i = 0; i < 4; ++i) {
    const std::string layer = "data/gfx/large/tex" + std::to_string(i) + ".bmp";
    cases.push_back({layer, {BitmapFailed(layer)}});
    if (i == 1) cases.back().boxes.push_back(BitmapFailed(layer));
  }
  return cases;
}

// Damaged files: one of each reader and each kind of user (checked, unchecked, the
// image library's, the font's and the music's).
std::vector<DataCase> DamagedCases() {
  std::vector<DataCase> cases;
  for (const DataCase& c : DataCases()) {
    for (const char* path :
         {"data/terrain/TerrainData4.bmp", "data/gfx/large/tex0.bmp", "data/gfx/skybox/stone.bmp",
          "textures/particle.jpg", "textures/bg1.jpg", "textures/ttex_1.jpg", "data/textures/console.png",
          "data/font/Font.tga", "data/demosong.mp3"}) {
      if (c.path == path) cases.push_back(c);
    }
  }
  return cases;
}

// One frame in each scene, then the end: start-up is where the files are read.
DemoRun& Schedule(DemoRun& run) {
  run.timeOf = e2e::Visit({0, 10000, 19000, 47000, 75000, 90000, 102000, 130000, 158000, 185899, 185900});
  return run;
}

void ExpectRunsToItsEnd(DemoRun& run, const std::vector<std::string>& boxes) {
  EXPECT_EQ(run.Run(), 0);
  EXPECT_EQ(run.BoxLines(), boxes);
  ASSERT_EQ(run.frames.size(), 10u);  // the frame at 185900 ends the demo unshown
  EXPECT_EQ(run.frames.back().t, 185899);
  EXPECT_EQ(run.frames.back().scene, Scene::kFarewell);
  EXPECT_EQ(run.restarts, 0);
  EXPECT_FALSE(run.os.HasWindow());
}

void Truncate(const fs::path& file) { fs::resize_file(file, fs::file_size(file) / 2); }

// Overwrites the headers with bytes that make every size, offset and type absurd.
void Scramble(const fs::path& file) {
  std::fstream stream(file, std::ios::in | std::ios::out | std::ios::binary);
  const size_t size = static_cast<size_t>(fs::file_size(file));
  for (size_t i = 0; i < std::min<size_t>(size, 64); ++i) {
    stream.seekp(static_cast<std::streamoff>(i));
    stream.put(static_cast<char>(i % 3 == 0 ? 0xFF : 0x7F));
  }
}

class MissingData : public ::testing::TestWithParam<DataCase> {};

TEST_P(MissingData, RunsToItsEndShowingOnlyItsReadersBoxes) {
  const auto dir = e2e::CopyRunFolder();
  ASSERT_TRUE(fs::remove(dir / GetParam().path));
  e2e::WorkingDirectory cwd(dir);
  DemoRun run;
  ExpectRunsToItsEnd(Schedule(run), GetParam().boxes);
  if (GetParam().path == "data/demosong.mp3") {
    EXPECT_FALSE(run.demo->music.HasStream());
    EXPECT_EQ(run.os.Sound().PlayingChannels(), 0);
  }
  if (GetParam().path == "data/font/Font.tga") {
    // The scrollers still draw their backdrop.
    EXPECT_GT(run.frames[0].lit, 0.2);
    EXPECT_GT(run.frames[8].lit, 0.2);
  }
}

class DamagedData : public MissingData {};

TEST_P(DamagedData, TruncatedFileFailsLikeAMissingOne) {
  const auto dir = e2e::CopyRunFolder();
  Truncate(dir / GetParam().path);
  e2e::WorkingDirectory cwd(dir);
  DemoRun run;
  ExpectRunsToItsEnd(Schedule(run), GetParam().boxes);
}

TEST_P(DamagedData, ScrambledHeaderFailsLikeAMissingOne) {
  const auto dir = e2e::CopyRunFolder();
  Scramble(dir / GetParam().path);
  e2e::WorkingDirectory cwd(dir);
  DemoRun run;
  ExpectRunsToItsEnd(Schedule(run), GetParam().boxes);
}

std::string CaseName(const ::testing::TestParamInfo<DataCase>& info) {
  std::string name = fs::path(info.param.path).filename().string();
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(EachFile, MissingData, ::testing::ValuesIn(DataCases()), CaseName);
INSTANTIATE_TEST_SUITE_P(EachReader, DamagedData, ::testing::ValuesIn(DamagedCases()), CaseName);

TEST(MissingDataFolder, RunsToItsEndWithTheHeightmapAndFontReports) {
  const auto dir = e2e::CopyRunFolder();
  fs::remove_all(dir / "data");
  e2e::WorkingDirectory cwd(dir);
  DemoRun run;
  ExpectRunsToItsEnd(Schedule(run),
                     {BitmapFailed("data/terrain/TerrainData4.bmp"), kLandscapeFailed, kFontFailed});
  EXPECT_FALSE(run.demo->music.HasStream());
}

TEST(MissingDataFolder, EmptyRunFolderShowsTheSameReports) {
  const auto dir = e2e::CopyRunFolder();
  fs::remove_all(dir / "data");
  fs::remove_all(dir / "textures");
  e2e::WorkingDirectory cwd(dir);
  DemoRun run;
  ExpectRunsToItsEnd(Schedule(run),
                     {BitmapFailed("data/terrain/TerrainData4.bmp"), kLandscapeFailed, kFontFailed});
}

}  // namespace
