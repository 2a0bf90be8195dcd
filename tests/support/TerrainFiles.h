// Test inputs for the terrain and flight suites: BMP files built byte by byte and a data folder
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "image/MessageBox.h"
#include "terrain/Terrain.h"

namespace terraintest {

struct BmpRecipe {
  int32_t width = 4;
  int32_t height = 4;  // negative: top-down
  uint16_t bits = 24;
  uint32_t compression = 0;
  uint32_t infoBytes = 40;
  bool sizeFieldZero = false;
  int64_t sizeFieldDelta = 0;  // added to the true pixel-block size
  int64_t offsetDelta = 0;     // added to the true pixel-block offset
  size_t truncateBy = 0;       // bytes cut off the end of the file
  // Byte value of channel `channel` of pixel (x, y), y counted from the bottom row.
  std::function<unsigned char(int x, int y, int channel)> pixel = [](int x, int y, int c) {
    return static_cast<unsigned char>(x * 16 + y * 4 + c);
  };
};

// A BMP with a 256-entry grey palette for 8 bits, rows padded to 4 bytes.
std::vector<unsigned char> MakeBmp(const BmpRecipe& recipe);

// Writes the data files of a landscape build below `root`: an 8-bit heightmap from
// `height(x, y)`, the four layer pictures in flat colours and the two sky pictures.
struct LandscapeFiles {
  int size = 17;
  std::function<unsigned char(int x, int y)> height = [](int, int) { return 0; };
  bool writeHeightmap = true;
  bool writeLayers = true;
  bool writeSky = true;
  int skySize = 8;
};
void WriteLandscapeFiles(const std::filesystem::path& root, const LandscapeFiles& files);

// The colour (blue, green, red as stored) of layer file texN.bmp, and of sky/stone.
unsigned char LayerByte(int file, int channel);
unsigned char SkyByte(bool stone, int channel);

// Records message boxes as "caption|text" (with the owner) and answers OK.
struct BoxRecorder {
  std::vector<std::string> boxes;
  std::vector<BoxOwner> owners;
  ShowMessageBox Show() {
    return [this](const std::string& text, const std::string& caption, unsigned flags, BoxOwner owner) {
      boxes.push_back(caption + "|" + text + (flags != kMessageBoxOk ? "|flags" : ""));
      owners.push_back(owner);
      return 1;
    };
  }
};

// The program-wide pieces a landscape build reports to, with recorded boxes and lines.
struct LandscapeRig {
  LandscapeRig() {
    console.tap = [this](const std::string& line) { lines.push_back(line); };
  }
  LandscapeRig(const LandscapeRig&) = delete;
  Console console;
  OctreeDisplay display;
  BoxRecorder boxes;
  std::vector<std::string> lines;
  LandscapeContext context{console, display, boxes.Show()};
};

// Runs the caller with the working directory switched to `dir`, restoring it after.
class ScopedChdir {
 public:
  explicit ScopedChdir(const std::filesystem::path& dir);
  ~ScopedChdir();

 private:
  std::filesystem::path previous_;
};

}  // namespace terraintest
