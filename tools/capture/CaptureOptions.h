// CaptureOptions: the capture tool's command line
#pragma once

#include <string>
#include <vector>

#include "capture/FrameSchedule.h"
#include "capture/KeyScript.h"
#include "capture/VideoEncoder.h"

namespace capture {

struct CaptureOptions {
  int fps = 60;
  int width = 1024;  // client size of the window created at program start
  int height = 768;
  int64_t fromMs = 0;
  int64_t toMs = 185900;
  std::string pngDir;     // empty: no pictures
  std::string videoFile;  // empty: no video
  int crf = kDefaultCrf;  // the video's quality: lower is better and larger
  std::vector<KeyPress> keys;
  bool answerNo = false;  // answer questions No instead of Yes
  bool quiet = false;
  bool help = false;

  FrameSchedule Schedule() const { return {fps, fromMs, toMs}; }
};

struct ParsedOptions {
  bool ok = false;
  CaptureOptions options;
  std::string error;  // why parsing failed
};

// Parses the arguments after the program name. Both "--fps 30" and "--fps=30" are accepted.
ParsedOptions ParseCaptureOptions(const std::vector<std::string>& args);

// The --help text.
std::string CaptureUsage();

}  // namespace capture
