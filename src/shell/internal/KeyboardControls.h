// KeyboardControls: what the held keys do, once per pass of the main loop
#pragma once

#include "director/Demo.h"

// Once per pass of the main loop, the held keys act: toggles for the terrain's render options and the octree
// display, the easter egg, and the camera's turns and moves.

void ApplyKeyboardControls(Demo& demo);
