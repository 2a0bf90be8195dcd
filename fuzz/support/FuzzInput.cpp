// FuzzInput: the scratch file, Touch and Require
#include "support/FuzzInput.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace fuzz {
namespace {

class ScratchFile {
 public:
  ScratchFile() {
    const char* dir = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    path_ = std::string(dir) + "/landscape-fuzz-" + std::to_string(getpid());
  }
  ~ScratchFile() { std::remove(path_.c_str()); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

ScratchFile& Scratch() {
  static ScratchFile file;
  return file;
}

}  // namespace

const std::string& WriteInputFile(const uint8_t* data, size_t size) {
  const std::string& path = Scratch().Path();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  Require(file != nullptr, "cannot create the scratch input file");
  const bool whole = size == 0 || std::fwrite(data, 1, size, file) == size;
  Require(std::fclose(file) == 0 && whole, "cannot write the scratch input file");
  return path;
}

void Touch(const unsigned char* bytes, size_t count) {
  unsigned sum = 0;
  for (size_t i = 0; i < count; ++i) sum += bytes[i];
  __asm__ volatile("" : : "r"(sum) : "memory");
}

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "contract broken: %s\n", what);
  std::abort();
}

}  // namespace fuzz
