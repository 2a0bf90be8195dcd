// The demo without its data or with damaged data: it runs to its end, showing only its readers' reports
#include <gtest/gtest.h>

#include <fstream>

#include "Pictures.h"

namespace fs = std::filesystem;
using namespace e2e;

namespace {

const std::string kLandscapeFailed =
    "Could not generate landscape from heightmap info / Error / 0 / main window";
const std::string kFontFailed = "Error loading font / Error / 0 / main window";
std::string BitmapFailed(const std::string& path) {
  return "An error occured while opening " + path + " / Error Loading Bitmap / 0 / no owner";
}

enum class Damage { kMissing, kTruncated, kScrambled };

struct DataCase {
  std::string path;  // relative to the run folder; empty: no data at all
  Damage damage;
  std::vector<std::string> boxes;  // what it shows, in order
};
void PrintTo(const DataCase& c, std::ostream* os) { *os << c.path << " " << static_cast<int>(c.damage); }

std::vector<DataCase> Cases() {
  const std::string heightmap = "data/terrain/TerrainData4.bmp", sky = "data/gfx/skybox/sky.bmp";
  const std::string stone = "data/gfx/skybox/stone.bmp";
  std::vector<DataCase> missing = {
      {"", Damage::kMissing, {BitmapFailed(heightmap), kLandscapeFailed, kFontFailed}},
      {heightmap, Damage::kMissing, {BitmapFailed(heightmap), kLandscapeFailed}},
      // The sky box stops at its first missing face, and the landscape build gives up with it.
      {sky, Damage::kMissing, {BitmapFailed(sky), kLandscapeFailed}},
      {stone, Damage::kMissing, {BitmapFailed(stone), kLandscapeFailed}},
      {"data/font/Font.tga", Damage::kMissing, {kFontFailed}},
      // Layers are reported by their reader only; the second one makes two layers and is read twice.
      {"data/gfx/large/tex0.bmp", Damage::kMissing, {BitmapFailed("data/gfx/large/tex0.bmp")}},
      {"data/gfx/large/tex1.bmp", Damage::kMissing, {2, BitmapFailed("data/gfx/large/tex1.bmp")}},
      {"data/gfx/large/tex2.bmp", Damage::kMissing, {BitmapFailed("data/gfx/large/tex2.bmp")}},
      {"data/gfx/large/tex3.bmp", Damage::kMissing, {BitmapFailed("data/gfx/large/tex3.bmp")}},
  };
  // Pictures through the JPEG reader or the image library, and the music: the show goes on silently.
  for (const char* path :
       {"textures/particle.jpg", "textures/torus.jpg", "textures/bg1.jpg", "textures/ttex_1.jpg",
        "textures/ttex_2.jpg", "data/textures/console.png", "data/demosong.mp3"}) {
    missing.push_back({path, Damage::kMissing, {}});
  }
  // Damage through each reader that no lower suite damages (the bitmap as the one the build checks).
  std::vector<DataCase> cases = missing;
  for (const DataCase& c : missing) {
    if (c.path == heightmap || c.path == "textures/particle.jpg" || c.path == "textures/ttex_1.jpg" ||
        c.path == "data/textures/console.png" || c.path == "data/demosong.mp3") {
      for (Damage damage : {Damage::kTruncated, Damage::kScrambled})
        cases.push_back({c.path, damage, c.boxes});
    }
  }
  return cases;
}

class Data : public ::testing::TestWithParam<DataCase> {};

TEST_P(Data, RunsToItsEndShowingOnlyItsReadersBoxes) {
  const DataCase& c = GetParam();
  const fs::path dir = CopyRunFolder(), file = dir / c.path;
  if (c.path.empty()) {
    fs::remove_all(dir / "data"), fs::remove_all(dir / "textures");
  } else if (c.damage == Damage::kMissing) {
    ASSERT_TRUE(fs::remove(file));
  } else if (c.damage == Damage::kTruncated) {
    fs::resize_file(file, fs::file_size(file) / 2);
  } else {  // headers that make every size, offset and type absurd
    std::fstream stream(file, std::ios::in | std::ios::out | std::ios::binary);
    for (int i = 0; i < 64; ++i) stream.put(static_cast<char>(i % 3 == 0 ? 0xFF : 0x7F));
  }
  testsupport::ScopedChdir cwd(dir);
  DemoRun run;  // one frame in each scene, then the end: start-up is where the files are read
  run.keepPixels = true;
  run.timeOf =
      testsupport::Visit({0, 10000, 19000, 47000, 75000, 90000, 102000, 130000, 158000, 185899, 185900});
  EXPECT_EQ(run.Run(kWidth, kHeight), 0);
  EXPECT_EQ(run.BoxLines(), c.boxes);
  ASSERT_EQ(run.frames.size(), 10u);
  EXPECT_EQ(run.restarts, 0);
  if (c.damage == Damage::kMissing) {
    EXPECT_EQ(run.os.Sound().PlayingChannels(), c.path.empty() || c.path == "data/demosong.mp3" ? 0 : 1);
  }
  if (c.path == "data/font/Font.tga") {  // the scrollers still draw their backdrop
    for (size_t frame : {0, 8}) EXPECT_GT(Measure(run.frames[frame].pixels).lit, 0.2) << frame;
  }
}

INSTANTIATE_TEST_SUITE_P(EachFile, Data, ::testing::ValuesIn(Cases()));

}  // namespace
