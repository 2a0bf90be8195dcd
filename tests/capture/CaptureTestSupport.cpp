// Helpers of the capture tests: running commands, shell quoting, ffmpeg and ffprobe.
#include "CaptureTestSupport.h"

#include <sys/wait.h>

#include <cmath>
#include <cstdio>

namespace capturetest {

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

std::string DecodeRgb(const std::string& path) {
  const auto rgb = RunCommand("ffmpeg -hide_banner -loglevel quiet -i " + Quote(path) +
                              " -frames:v 1 -f rawvideo -pix_fmt rgb24 - 2>/dev/null");
  return rgb.exitCode == 0 ? rgb.output : "";
}

double Probe(const std::string& path, const std::string& stream, const std::string& entry) {
  const auto probed =
      RunCommand("ffprobe -v error -select_streams " + stream +
                 " -count_frames -show_entries stream=" + entry + " -of default=nw=1:nk=1 " + Quote(path));
  return probed.exitCode == 0 && !probed.output.empty() ? std::stod(probed.output) : -1.0;
}

double MeanVolume(const std::string& path, double fromS) {
  const auto run = RunCommand("ffmpeg -hide_banner -ss " + std::to_string(fromS) + " -t 0.5 -i " +
                              Quote(path) + " -vn -af volumedetect -f null -");
  const size_t at = run.output.find("mean_volume:");
  return at == std::string::npos ? std::nan("") : std::stod(run.output.substr(at + 12));
}

}  // namespace capturetest
