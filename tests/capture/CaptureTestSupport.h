// Helpers of the capture tests: reading PNGs back, running programs, asking ffprobe.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace capturetest {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // top row first
  const uint8_t* At(int x, int y) const { return rgb.data() + (static_cast<size_t>(y) * width + x) * 3; }
};

// False when the file is missing or no PNG.
bool ReadPng(const std::filesystem::path& path, Picture* picture);

struct RunResult {
  int exitCode = -1;
  std::string output;  // standard output and error together
};

// Runs a shell command line (its words already quoted) and collects its output.
RunResult RunCommand(const std::string& command);

// Single-quotes a word for the shell.
std::string Quote(const std::string& word);

// One entry of a media file's stream ("v:0", "a:0"), frames counted; -1 when there is none.
double Probe(const std::string& path, const std::string& stream, const std::string& entry);

}  // namespace capturetest
