// Test support: per-test scratch folders, whole files in and out, and the generated run folder
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testsupport {

// A per-test empty folder below the suite's scratch root ($LANDSCAPE_TEST_TMP or /tmp); a second
// call in the same test empties it again.
inline std::filesystem::path ScratchDir() {
  const char* root = std::getenv("LANDSCAPE_TEST_TMP");
  std::filesystem::path dir =
      root != nullptr ? root : std::filesystem::temp_directory_path() / "landscape_tests";
  if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info(); info != nullptr) {
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    std::replace(name.begin(), name.end(), '/', '_');  // parameterised names hold slashes
    dir /= name;
  }
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

// Writes `bytes` to `path`, making its folders.
inline void WriteFile(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  EXPECT_TRUE(out.good()) << "cannot write " << path;
}

// The whole file; empty when it cannot be read.
inline std::vector<unsigned char> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The generated run folder: $LANDSCAPE_RUN_DIR (CTest sets it), else build/demo below the working folder.
inline std::filesystem::path RunDir() {
  const char* dir = std::getenv("LANDSCAPE_RUN_DIR");
  return dir != nullptr && *dir != '\0' ? dir : "build/demo";
}

// Makes `dir` (by default a fresh ScratchDir) the working folder for its lifetime. As a fixture
// member it gives every test of the fixture an empty working folder of its own.
class ScopedChdir {
 public:
  explicit ScopedChdir(const std::filesystem::path& dir = ScratchDir()) {
    std::filesystem::current_path(dir);
  }
  ~ScopedChdir() { std::filesystem::current_path(previous_); }
  ScopedChdir(const ScopedChdir&) = delete;
  ScopedChdir& operator=(const ScopedChdir&) = delete;

 private:
  std::filesystem::path previous_ = std::filesystem::current_path();
};

}  // namespace testsupport
