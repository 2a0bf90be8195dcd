// Test support: BMP files built byte by byte, and the data folder of a landscape build
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/BoxRecorder.h"
#include "terrain/Terrain.h"

namespace testsupport {

struct BmpRecipe {
  int32_t width = 4;
  int32_t height = 4;  // negative: top-down
  uint16_t bits = 24;
  uint32_t infoBytes = 40;
  bool sizeFieldZero = false;
  size_t truncateBy = 0;  // bytes cut off the end of the file
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
  int skySize = 8;
};
void WriteLandscapeFiles(const std::filesystem::path& root, const LandscapeFiles& files);

// The colour (blue, green, red as stored) of layer file texN.bmp, and of sky/stone.
unsigned char LayerByte(int file, int channel);
unsigned char SkyByte(bool stone, int channel);

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

}  // namespace testsupport
