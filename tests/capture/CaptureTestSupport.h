// Helpers of the capture tests: running programs, and reading pictures and streams back through ffmpeg
#pragma once

#include <string>

namespace capturetest {

struct RunResult {
  int exitCode = -1;
  std::string output;  // standard output and error together
};

// Runs a shell command line (its words already quoted) and collects its output.
RunResult RunCommand(const std::string& command);

// Single-quotes a word for the shell.
std::string Quote(const std::string& word);

// The first picture of a PNG or video file as RGB bytes, top row first; empty when it cannot be read.
std::string DecodeRgb(const std::string& path);

// One entry of a media file's stream ("v:0", "a:0"), frames counted; -1 when there is none.
double Probe(const std::string& path, const std::string& stream, const std::string& entry);

// Mean volume in dB of half a second of a file's sound from `fromS` seconds on (about -91 for digital
// silence); NaN when it has no sound.
double MeanVolume(const std::string& path, double fromS = 0);

}  // namespace capturetest
