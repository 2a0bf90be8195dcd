// Test support: BMP files built byte by byte, and the data folder of a landscape build
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/BoxRecorder.h"
#include "support/Scratch.h"
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

// Little-endian, `bytes` long.
inline void PutLittleEndian(std::vector<unsigned char>& out, size_t at, uint32_t v, int bytes = 4) {
  for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

// A BMP with a 256-entry grey palette for 8 bits, rows padded to 4 bytes.
inline std::vector<unsigned char> MakeBmp(const BmpRecipe& recipe) {
  const int64_t w = recipe.width;
  const int64_t h = recipe.height < 0 ? -static_cast<int64_t>(recipe.height) : recipe.height;
  const int bytes = recipe.bits / 8;
  const size_t stride = static_cast<size_t>((w * recipe.bits + 31) / 32 * 4);
  const size_t palette = recipe.bits == 8 ? 1024 : 0;
  const size_t offset = 14 + recipe.infoBytes + palette;
  const size_t block = stride * static_cast<size_t>(h);
  std::vector<unsigned char> out(offset + block, 0);
  PutLittleEndian(out, 0, 'B' | 'M' << 8, 2);
  PutLittleEndian(out, 2, static_cast<uint32_t>(out.size()));
  PutLittleEndian(out, 10, static_cast<uint32_t>(offset));
  PutLittleEndian(out, 14, recipe.infoBytes);
  PutLittleEndian(out, 18, static_cast<uint32_t>(recipe.width));
  PutLittleEndian(out, 22, static_cast<uint32_t>(recipe.height));
  PutLittleEndian(out, 26, 1, 2);
  PutLittleEndian(out, 28, recipe.bits, 2);
  PutLittleEndian(out, 34, recipe.sizeFieldZero ? 0 : static_cast<uint32_t>(block));
  for (size_t i = 0; i < palette / 4; ++i) {
    for (int c = 0; c < 3; ++c) out[14 + recipe.infoBytes + i * 4 + c] = static_cast<unsigned char>(i);
  }
  for (int64_t row = 0; row < h; ++row) {
    // Top-down files store the picture's top row first.
    const int64_t y = recipe.height < 0 ? h - 1 - row : row;
    // Padding bytes get a loud value so that a reader keeping them shows it.
    for (int64_t i = 0; i < static_cast<int64_t>(stride); ++i) {
      out[offset + row * stride + i] = i < w * bytes ? recipe.pixel(i / bytes, y, i % bytes) : 0xEE;
    }
  }
  out.resize(out.size() - std::min(recipe.truncateBy, out.size()));
  return out;
}

// Writes the data files of a landscape build below `root`: an 8-bit heightmap from
// `height(x, y)`, the four layer pictures in flat colours and the two sky pictures.
struct LandscapeFiles {
  int size = 17;
  std::function<unsigned char(int x, int y)> height = [](int, int) { return 0; };
  int skySize = 8;
};

// The colour (blue, green, red as stored) of layer file texN.bmp, and of sky/stone.
inline unsigned char LayerByte(int file, int channel) {
  static const unsigned char kColours[4][3] = {{20, 120, 220}, {40, 200, 60}, {90, 90, 90}, {250, 250, 240}};
  return kColours[file][channel];
}

inline unsigned char SkyByte(bool stone, int channel) {
  static const unsigned char kColours[2][3] = {{230, 160, 60}, {70, 80, 90}};
  return kColours[stone][channel];
}

inline void WriteLandscapeFiles(const std::filesystem::path& root, const LandscapeFiles& files) {
  const auto write = [&](const std::string& name, int size, uint16_t bits, const auto& pixel) {
    WriteFile(root / name, MakeBmp({size, size, bits, 40, false, 0, pixel}));
  };
  write("data/terrain/TerrainData4.bmp", files.size, 8,
        [&](int x, int y, int) { return files.height(x, y); });
  for (int i = 0; i < 4; ++i)
    write("data/gfx/large/tex" + std::to_string(i) + ".bmp", 256, 24,
          [i](int, int, int c) { return LayerByte(i, c); });
  for (bool stone : {false, true}) {
    write(stone ? "data/gfx/skybox/stone.bmp" : "data/gfx/skybox/sky.bmp", files.skySize, 24,
          [stone](int, int, int c) { return SkyByte(stone, c); });
  }
}

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
