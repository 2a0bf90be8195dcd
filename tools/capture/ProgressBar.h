// ProgressBar: one self-overwriting status line on standard error while capturing
//
// One self-overwriting status line on standard error while capturing: frames, programme time, frames per
// second, time left. Only shown on a terminal.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace capture {

struct ProgressState {
  int64_t framesDone = 0;   // frames drawn so far
  int64_t framesTotal = 0;  // frames that will be drawn
  int64_t programmeMs = 0;
  double elapsedSeconds = 0.0;
};

// "[#####.....]   120/11154 frames  t   2.000 s   58.3 fps    3:09 left"
std::string FormatProgress(const ProgressState& state, int barWidth = 24);

class ProgressBar {
 public:
  // Shown only when `enabled` and standard error is a terminal.
  ProgressBar(bool enabled, int64_t framesTotal);
  void Update(int64_t framesDone, int64_t programmeMs);
  // Wipes the line, so other output starts on a clean line; the next Update redraws it.
  void Clear();
  // The final state, and a line break.
  void Finish(int64_t framesDone, int64_t programmeMs);

 private:
  void Draw(int64_t framesDone, int64_t programmeMs);

  bool shown_ = false;
  int64_t total_ = 0;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point lastDraw_;
  bool drawn_ = false;
};

}  // namespace capture
