// Test support: BMP files built byte by byte and the data folder layout of the terrain suites
#include "support/TerrainFiles.h"

#include <algorithm>

#include "support/Scratch.h"

namespace testsupport {
namespace {

void Put32(std::vector<unsigned char>& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<unsigned char>(v >> (8 * i));
}
void Put16(std::vector<unsigned char>& out, size_t at, uint16_t v) {
  out[at] = static_cast<unsigned char>(v);
  out[at + 1] = static_cast<unsigned char>(v >> 8);
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
  Put32(out, 2, static_cast<uint32_t>(out.size()));
  Put32(out, 10, static_cast<uint32_t>(offset + recipe.offsetDelta));
  Put32(out, 14, recipe.infoBytes);
  Put32(out, 18, static_cast<uint32_t>(recipe.width));
  Put32(out, 22, static_cast<uint32_t>(recipe.height));
  Put16(out, 26, 1);
  Put16(out, 28, recipe.bits);
  Put32(out, 30, recipe.compression);
  Put32(out, 34, recipe.sizeFieldZero ? 0 : static_cast<uint32_t>(block + recipe.sizeFieldDelta));
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
  if (files.writeHeightmap) {
    BmpRecipe recipe;
    recipe.width = recipe.height = files.size;
    recipe.bits = 8;
    recipe.pixel = [&](int x, int y, int) { return files.height(x, y); };
    WriteFile(root / "data/terrain/TerrainData4.bmp", MakeBmp(recipe));
  }
  if (files.writeLayers) {
    for (int i = 0; i < 4; ++i) {
      BmpRecipe recipe;
      recipe.width = recipe.height = 256;
      recipe.pixel = [i](int, int, int c) { return LayerByte(i, c); };
      WriteFile(root / ("data/gfx/large/tex" + std::to_string(i) + ".bmp"), MakeBmp(recipe));
    }
  }
  if (files.writeSky) {
    for (bool stone : {false, true}) {
      BmpRecipe recipe;
      recipe.width = recipe.height = files.skySize;
      recipe.pixel = [stone](int, int, int c) { return SkyByte(stone, c); };
      WriteFile(root / (stone ? "data/gfx/skybox/stone.bmp" : "data/gfx/skybox/sky.bmp"), MakeBmp(recipe));
    }
  }
}

}  // namespace testsupport
