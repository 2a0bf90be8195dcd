// Window: the one window and its GL context: creation, teardown and the window procedure
#pragma once

#include <cstdint>
#include <string>

#include "director/Demo.h"

// The one top-level window and its GL context: creation (which ends by running the demo's start-up),
// teardown, the window procedure that turns messages into the key and activity flags, and the
// viewport/projection for a client size. Every failure is reported in a modal message box.

// True when the window, its context and the start-up all succeeded. False after the
// failure was shown (and, past the display-mode step, after a teardown).
bool CreateRenderWindow(Demo& demo, const std::string& title, int width, int height, int bits,
                        bool fullscreen);

// Releases display mode, context, device context, window and class, whichever are
// held, reporting each release that fails. Never fails as a whole.
void DestroyRenderWindow(Demo& demo);

// The window's message handler; returns the message result.
intptr_t WindowProcedure(Demo& demo, const platform::Message& message);

// Viewport and perspective projection for a client size (0 x 0 while minimised).
void ResizeScene(int width, int height);
