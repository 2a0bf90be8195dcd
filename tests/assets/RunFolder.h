// Test helpers for the generated run folder: where it is, its files, and small header parsers
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace assettest {

// $LANDSCAPE_RUN_DIR (set by CTest), else build/demo relative to the working directory.
std::filesystem::path RunDir();
std::vector<unsigned char> ReadAll(const std::filesystem::path& path);

uint32_t Le16(const std::vector<unsigned char>& b, size_t at);
uint32_t Le32(const std::vector<unsigned char>& b, size_t at);
bool IsPowerOfTwo(uint32_t n);

// The files the demo reads, relative to the run folder.
const std::vector<std::string>& DataFiles();

struct BmpInfo {
  bool valid = false;
  uint32_t pixelOffset = 0;
  int32_t width = 0;
  int32_t height = 0;
  uint32_t bits = 0;
  uint32_t compression = 0;
  uint32_t imageSize = 0;
};
BmpInfo ParseBmp(const std::vector<unsigned char>& file);

}  // namespace assettest
