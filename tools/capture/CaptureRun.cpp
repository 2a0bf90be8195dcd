#include "capture/CaptureRun.h"

#include <cstdio>

namespace capture {

int RunCapture(const CaptureOptions&) {
  std::fputs("landscape-capture: the demo's headless entry is not there yet\n", stderr);
  return 1;
}

}  // namespace capture
