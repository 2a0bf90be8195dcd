// Test support: scratch folders, whole files and the run folder
#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace testsupport {

namespace fs = std::filesystem;

fs::path ScratchDir() {
  const char* root = std::getenv("LANDSCAPE_TEST_TMP");
  fs::path dir = root != nullptr ? root : fs::temp_directory_path() / "landscape_tests";
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  if (info != nullptr) {
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    std::replace(name.begin(), name.end(), '/', '_');  // parameterised names hold slashes
    dir /= name;
  }
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

void WriteFile(const fs::path& path, const std::vector<unsigned char>& bytes) {
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  EXPECT_TRUE(out.good()) << "cannot write " << path;
}

std::vector<unsigned char> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path RunDir() {
  const char* dir = std::getenv("LANDSCAPE_RUN_DIR");
  return dir != nullptr && *dir != '\0' ? fs::path(dir) : fs::path("build/demo");
}

ScopedChdir::ScopedChdir(const fs::path& dir) : previous_(fs::current_path()) { fs::current_path(dir); }

ScopedChdir::~ScopedChdir() { fs::current_path(previous_); }

}  // namespace testsupport
