// FrameSchedule: counting written frames
#include "capture/FrameSchedule.h"

#include <algorithm>

namespace capture {

int64_t FrameSchedule::WrittenFrameCount() const {
  return std::max<int64_t>(0, EndFrame() - FirstWrittenFrame());
}

bool FrameSchedule::IsWritten(int64_t frame) const {
  const int64_t t = TimeOf(frame);
  return frame >= 0 && t >= fromMs && t < toMs;
}

}  // namespace capture
