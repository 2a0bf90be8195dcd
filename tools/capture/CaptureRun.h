// CaptureRun: one capture, from the command line's options to the demo's exit code
//
// The demo's own entry, start-up, main loop and scenes driven on the headless backend with a virtual clock,
// every presented frame read back and handed to the writer.
#pragma once

#include "capture/CaptureOptions.h"

namespace capture {

// Returns the demo's exit code; 1 when the pictures or the video could not be written.
int RunCapture(const CaptureOptions& options);

}  // namespace capture
