// FrameSchedule: which frame is drawn at which programme time, and which frames are written
//
// Frame k (k = 0, 1, ...) is drawn at floor(k * 1000 / fps) ms; frames whose time lies in [fromMs, toMs) are
// written; the last frame drawn is the last one before toMs.
#pragma once

#include <cstdint>

namespace capture {

struct FrameSchedule {
  int fps = 60;
  int64_t fromMs = 0;
  int64_t toMs = 185900;

  // Programme time of frame k in ms.
  int64_t TimeOf(int64_t frame) const { return frame * 1000 / fps; }
  // The first frame drawn at or after `ms` (ms >= 0).
  int64_t FirstFrameAtOrAfter(int64_t ms) const { return (ms * fps + 999) / 1000; }
  int64_t FirstWrittenFrame() const { return FirstFrameAtOrAfter(fromMs); }
  // One past the last frame drawn: the first frame at or after toMs.
  int64_t EndFrame() const { return FirstFrameAtOrAfter(toMs); }
  int64_t WrittenFrameCount() const;
  bool IsWritten(int64_t frame) const;
};

}  // namespace capture
