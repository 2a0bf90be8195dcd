// Test helpers for the generated run folder (see RunFolder.h).
#include "RunFolder.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace assettest {

std::filesystem::path RunDir() {
  const char* dir = std::getenv("LANDSCAPE_RUN_DIR");
  return dir != nullptr ? std::filesystem::path(dir) : std::filesystem::path("build/demo");
}

std::vector<unsigned char> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t Le16(const std::vector<unsigned char>& b, size_t at) { return b[at] | (b[at + 1] << 8); }

uint32_t Le32(const std::vector<unsigned char>& b, size_t at) {
  return Le16(b, at) | (Le16(b, at + 2) << 16);
}

bool IsPowerOfTwo(uint32_t n) { return n != 0 && (n & (n - 1)) == 0; }

const std::vector<std::string>& DataFiles() {
  static const std::vector<std::string> files = {"data/terrain/TerrainData4.bmp",
                                                 "data/gfx/large/tex0.bmp",
                                                 "data/gfx/large/tex1.bmp",
                                                 "data/gfx/large/tex2.bmp",
                                                 "data/gfx/large/tex3.bmp",
                                                 "data/gfx/skybox/sky.bmp",
                                                 "data/gfx/skybox/stone.bmp",
                                                 "textures/particle.jpg",
                                                 "textures/torus.jpg",
                                                 "textures/bg1.jpg",
                                                 "textures/ttex_1.jpg",
                                                 "textures/ttex_2.jpg",
                                                 "data/textures/console.png",
                                                 "data/font/Font.tga",
                                                 "data/demosong.mp3"};
  return files;
}

BmpInfo ParseBmp(const std::vector<unsigned char>& file) {
  BmpInfo info;
  if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') return info;
  info.pixelOffset = Le32(file, 10);
  info.width = static_cast<int32_t>(Le32(file, 18));
  info.height = static_cast<int32_t>(Le32(file, 22));
  info.bits = Le16(file, 28);
  info.compression = Le32(file, 30);
  info.imageSize = Le32(file, 34);
  info.valid = Le32(file, 14) == 40 && Le32(file, 2) == file.size() &&
               uint64_t(info.pixelOffset) + info.imageSize == file.size();
  return info;
}

}  // namespace assettest
