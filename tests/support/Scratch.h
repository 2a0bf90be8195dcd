// Test support: per-test scratch folders, whole files in and out, and the generated run folder
#pragma once

#include <filesystem>
#include <vector>

namespace testsupport {

// A per-test empty folder below the suite's scratch root ($LANDSCAPE_TEST_TMP or /tmp); a second
// call in the same test empties it again.
std::filesystem::path ScratchDir();

// Writes `bytes` to `path`, making its folders.
void WriteFile(const std::filesystem::path& path, const std::vector<unsigned char>& bytes);

// The whole file; empty when it cannot be read.
std::vector<unsigned char> ReadFile(const std::filesystem::path& path);

// The generated run folder: $LANDSCAPE_RUN_DIR (CTest sets it), else build/demo below the working folder.
std::filesystem::path RunDir();

// Makes `dir` (by default a fresh ScratchDir) the working folder for its lifetime. As a fixture
// member it gives every test of the fixture an empty working folder of its own.
class ScopedChdir {
 public:
  explicit ScopedChdir(const std::filesystem::path& dir = ScratchDir());
  ~ScopedChdir();
  ScopedChdir(const ScopedChdir&) = delete;
  ScopedChdir& operator=(const ScopedChdir&) = delete;

 private:
  std::filesystem::path previous_;
};

}  // namespace testsupport
