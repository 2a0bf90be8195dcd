// Helpers of the capture tests: PNG reading (libpng), running commands, shell quoting, ffprobe.
#include "CaptureTestSupport.h"

#include <png.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstring>

namespace capturetest {

bool ReadPng(const std::filesystem::path& path, Picture* picture) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, path.c_str()) == 0) return false;
  image.format = PNG_FORMAT_RGB;
  picture->width = static_cast<int>(image.width);
  picture->height = static_cast<int>(image.height);
  picture->rgb.resize(PNG_IMAGE_SIZE(image));
  const bool ok = png_image_finish_read(&image, nullptr, picture->rgb.data(), 0, nullptr) != 0;
  png_image_free(&image);
  return ok;
}

RunResult RunCommand(const std::string& command) {
  RunResult result;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
  const int status = pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string Quote(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

double Probe(const std::string& path, const std::string& stream, const std::string& entry) {
  const auto probed =
      RunCommand("ffprobe -v error -select_streams " + stream +
                 " -count_frames -show_entries stream=" + entry + " -of default=nw=1:nk=1 " + Quote(path));
  return probed.exitCode == 0 && !probed.output.empty() ? std::stod(probed.output) : -1.0;
}

}  // namespace capturetest
