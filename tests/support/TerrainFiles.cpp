// Test support: BMP files built byte by byte and the data folder layout of the terrain suites
#include "support/TerrainFiles.h"

#include <algorithm>

#include "support/Scratch.h"

namespace testsupport {
namespace {

// Little-endian, `bytes` long.
void Put(std::vector<unsigned char>& out, size_t at, uint32_t v, int bytes = 4) {
  for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

}  // namespace

std::vector<unsigned char> MakeBmp(const BmpRecipe& recipe) {
  const int64_t w = recipe.width;
  const int64_t h = recipe.height < 0 ? -static_cast<int64_t>(recipe.height) : recipe.height;
  const int bytes = recipe.bits / 8;
  const size_t stride = static_cast<size_t>((w * recipe.bits + 31) / 32 * 4);
  const size_t palette = recipe.bits == 8 ? 1024 : 0;
  const size_t offset = 14 + recipe.infoBytes + palette;
  const size_t block = stride * static_cast<size_t>(h);
  std::vector<unsigned char> out(offset + block, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put(out, 2, static_cast<uint32_t>(out.size()));
  Put(out, 10, static_cast<uint32_t>(offset));
  Put(out, 14, recipe.infoBytes);
  Put(out, 18, static_cast<uint32_t>(recipe.width));
  Put(out, 22, static_cast<uint32_t>(recipe.height));
  Put(out, 26, 1, 2);
  Put(out, 28, recipe.bits, 2);
  Put(out, 34, recipe.sizeFieldZero ? 0 : static_cast<uint32_t>(block));
  for (size_t i = 0; i < palette / 4; ++i) {
    for (int c = 0; c < 3; ++c) out[14 + recipe.infoBytes + i * 4 + c] = static_cast<unsigned char>(i);
  }
  for (int64_t row = 0; row < h; ++row) {
    // Top-down files store the picture's top row first.
    const int64_t y = recipe.height < 0 ? h - 1 - row : row;
    for (int64_t x = 0; x < w; ++x) {
      for (int c = 0; c < bytes; ++c) {
        out[offset + row * stride + x * bytes + c] =
            recipe.pixel(static_cast<int>(x), static_cast<int>(y), c);
      }
    }
    // Padding bytes get a loud value so that a reader keeping them shows it.
    for (size_t p = static_cast<size_t>(w * bytes); p < stride; ++p) out[offset + row * stride + p] = 0xEE;
  }
  out.resize(out.size() - std::min(recipe.truncateBy, out.size()));
  return out;
}

unsigned char LayerByte(int file, int channel) {
  static const unsigned char kColours[4][3] = {{20, 120, 220}, {40, 200, 60}, {90, 90, 90}, {250, 250, 240}};
  return kColours[file][channel];
}

unsigned char SkyByte(bool stone, int channel) {
  static const unsigned char kSky[3] = {230, 160, 60};
  static const unsigned char kStone[3] = {70, 80, 90};
  return stone ? kStone[channel] : kSky[channel];
}

void WriteLandscapeFiles(const std::filesystem::path& root, const LandscapeFiles& files) {
  const auto write = [&](const char* name, int size, uint16_t bits, const auto& pixel) {
    BmpRecipe recipe;
    recipe.width = recipe.height = size;
    recipe.bits = bits;
    recipe.pixel = pixel;
    WriteFile(root / name, MakeBmp(recipe));
  };
  write("data/terrain/TerrainData4.bmp", files.size, 8,
        [&](int x, int y, int) { return files.height(x, y); });
  for (int i = 0; i < 4; ++i) {
    const std::string name = "data/gfx/large/tex" + std::to_string(i) + ".bmp";
    write(name.c_str(), 256, 24, [i](int, int, int c) { return LayerByte(i, c); });
  }
  for (bool stone : {false, true}) {
    write(stone ? "data/gfx/skybox/stone.bmp" : "data/gfx/skybox/sky.bmp", files.skySize, 24,
          [stone](int, int, int c) { return SkyByte(stone, c); });
  }
}

}  // namespace testsupport
