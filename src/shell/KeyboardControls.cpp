// KeyboardControls: the key table, each key tested independently in its order.
#include "shell/KeyboardControls.h"

#include "platform/Win32.h"

using namespace platform;

namespace {

// A toggle acts once per key-down message: its flag is cleared when it has acted.
bool TakeKey(ShellState& shell, uint32_t vk) {
  if (!shell.IsKeyDown(vk)) return false;
  shell.SetKey(vk, false);
  return true;
}

}  // namespace

void ApplyKeyboardControls(Demo& demo) {
  ShellState& shell = demo.shell;
  // P, I, U, Y (terrain render flags) and R (HideEmptyOctreeNodes) and the camera keys
  // act on the terrain, octree display and camera objects.
  if (TakeKey(shell, 'M')) {
    demo.platform.MessageBox(0, "Hey, you found an easter egg", "easter egg", MB_OK);
  }
}
