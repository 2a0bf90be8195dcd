// ProgressBar: formatting and throttled drawing (the wall clock here is for the display only, never the demo)
#include "capture/ProgressBar.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace capture {

std::string FormatProgress(const ProgressState& s, int barWidth) {
  // More frames than planned happen when F1 restarts the programme.
  const double fraction =
      s.framesTotal > 0 ? std::clamp(static_cast<double>(s.framesDone) / s.framesTotal, 0.0, 1.0) : 1.0;
  const int filled = static_cast<int>(fraction * barWidth);
  std::string bar = "[" + std::string(filled, '#') + std::string(barWidth - filled, '.') + "]";
  const double fps = s.elapsedSeconds > 0.0 ? s.framesDone / s.elapsedSeconds : 0.0;
  char left[32] = "  --:--";
  if (fps > 0.0) {
    const long long seconds =
        static_cast<long long>(std::max<int64_t>(0, s.framesTotal - s.framesDone) / fps + 0.5);
    std::snprintf(left, sizeof left, "%4lld:%02lld", seconds / 60, seconds % 60);
  }
  char text[160];
  std::snprintf(text, sizeof text, " %6lld/%lld frames  t %7.3f s  %5.1f fps %s left",
                static_cast<long long>(s.framesDone), static_cast<long long>(s.framesTotal),
                s.programmeMs / 1000.0, fps, left);
  return bar + text;
}

ProgressBar::ProgressBar(bool enabled, int64_t framesTotal)
    : shown_(enabled && isatty(STDERR_FILENO) == 1),
      total_(framesTotal),
      start_(std::chrono::steady_clock::now()),
      lastDraw_(start_) {}

void ProgressBar::Update(int64_t framesDone, int64_t programmeMs) {
  if (!shown_) return;
  const auto now = std::chrono::steady_clock::now();
  if (drawn_ && now - lastDraw_ < std::chrono::milliseconds(100)) return;
  lastDraw_ = now;
  Draw(framesDone, programmeMs);
}

void ProgressBar::Clear() {
  if (!shown_ || !drawn_) return;
  std::fputs("\r\033[K", stderr);
  drawn_ = false;
}

void ProgressBar::Finish(int64_t framesDone, int64_t programmeMs) {
  if (!shown_) return;
  Draw(framesDone, programmeMs);
  std::fputc('\n', stderr);
  drawn_ = false;
}

void ProgressBar::Draw(int64_t framesDone, int64_t programmeMs) {
  const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  const std::string line = FormatProgress({framesDone, total_, programmeMs, elapsed});
  std::fprintf(stderr, "\r%s\033[K", line.c_str());
  std::fflush(stderr);
  drawn_ = true;
}

}  // namespace capture
