// MainLoop: the program's entry and its only loop
#pragma once

#include "director/Demo.h"

// Creates the window (which starts the demo), then alternates between emptying the message queue and drawing
// one frame, presents it, handles F1 (re-create in the other display mode, restarting the demo) and applies
// the keyboard controls once per pass.
//
// Both programs call RunLandscape: `landscape` with the SDL backend, the capture tool with the headless one,
// whose onIdle hook sets the virtual clock before each frame and whose onSwap hook reads each presented
// frame.

inline constexpr const char* kWindowTitle = "Brumlys' Landscape";

struct LandscapeOptions {
  int width = 1024;  // client size of the first window creation
  int height = 768;
};

// Runs the demo to its end; returns the process exit code.
int RunLandscape(Demo& demo, const LandscapeOptions& options = {});

// The loop alone, on a window that exists. Returns the exit code; sets `recreateFailed`
// when an F1 re-creation failed (there is then no window left to tear down).
int RunMainLoop(Demo& demo, bool& recreateFailed);
