// Timeline: the programme's seven scene windows and the frame operation of the main loop
#pragma once

#include <cstdint>

#include "director/Demo.h"

// The fixed programme of seven scene windows over 185.9 s of wall-clock time since the music started, and the
// frame operation the main loop calls.

enum class Scene { kNone, kCredits, kTunnel, kWireTorus, kFlight, kSecondTunnel, kSolidTorus, kFarewell };

inline constexpr int32_t kProgrammeEnd = 185900;  // ms; the first frame at or after it ends the demo

// The scene whose half-open window [start, end) holds `t` (ms since the start).
Scene SceneAt(int32_t t);

// One frame: clear, the scene of the current window, glFinish; at the end of the
// programme it sets the Escape key flag. Runs on the current GL context.
void RunTimeline(Demo& demo);

// Runs RunTimeline; always true.
bool DrawFrame(Demo& demo);
