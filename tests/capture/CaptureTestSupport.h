// Helpers of the capture tests: running programs, and reading pictures and streams back through ffmpeg
#pragma once

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace capturetest {

struct RunResult {
  int exitCode = -1;
  std::string output;  // standard output and error together
};

// Runs a shell command line (its words already quoted) and collects its output.
inline RunResult RunCommand(const std::string& command) {
  RunResult result;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return result;
  for (int c; (c = std::fgetc(pipe)) != EOF;) result.output += char(c);
  const int status = pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

// Single-quotes a word for the shell.
inline std::string Quote(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// The first picture of a PNG or video file as RGB bytes, top row first; empty when it cannot be read.
inline std::string DecodeRgb(const std::string& path) {
  const auto rgb = RunCommand("ffmpeg -hide_banner -loglevel quiet -i " + Quote(path) +
                              " -frames:v 1 -f rawvideo -pix_fmt rgb24 - 2>/dev/null");
  return rgb.exitCode == 0 ? rgb.output : "";
}

// One entry of a media file's stream ("v:0", "a:0"), frames counted; -1 when there is none.
inline double Probe(const std::string& path, const std::string& stream, const std::string& entry) {
  const auto probed =
      RunCommand("ffprobe -v error -select_streams " + stream +
                 " -count_frames -show_entries stream=" + entry + " -of default=nw=1:nk=1 " + Quote(path));
  return probed.exitCode == 0 && !probed.output.empty() ? std::stod(probed.output) : -1.0;
}

// Mean volume in dB of half a second of a file's sound from `fromS` seconds on (about -91 for digital
// silence); NaN when it has no sound.
inline double MeanVolume(const std::string& path, double fromS = 0) {
  const auto run = RunCommand("ffmpeg -hide_banner -ss " + std::to_string(fromS) + " -t 0.5 -i " +
                              Quote(path) + " -vn -af volumedetect -f null -");
  const size_t at = run.output.find("mean_volume:");
  return at == std::string::npos ? std::nan("") : std::stod(run.output.substr(at + 12));
}

}  // namespace capturetest
