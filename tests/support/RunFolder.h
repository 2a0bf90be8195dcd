// Test support: the generated run folder the suites read the demo's data from, and whole-file reads
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace testsupport {

// $LANDSCAPE_RUN_DIR (CTest sets it), else build/demo below the working directory.
inline std::filesystem::path RunDir() {
  const char* dir = std::getenv("LANDSCAPE_RUN_DIR");
  return dir != nullptr ? std::filesystem::path(dir) : std::filesystem::path("build/demo");
}

// The file's bytes; empty when it cannot be read.
inline std::vector<unsigned char> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace testsupport
