// KeyboardControls: once per pass of the main loop, the held keys act: toggles for
// the terrain's render options and the octree display, the easter egg, and the
// camera's turns and moves.
// Depends on: director/Demo.h.
#pragma once

#include "director/Demo.h"

void ApplyKeyboardControls(Demo& demo);
