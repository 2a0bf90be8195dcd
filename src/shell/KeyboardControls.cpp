// KeyboardControls: the key table, each key tested independently in its order.
#include "shell/internal/KeyboardControls.h"

#include "platform/Win32.h"

using namespace platform;

namespace {

// A toggle acts once per key-down message: its flag is cleared when it acts.
bool TakeKey(ShellState& shell, uint32_t vk) {
  if (!shell.IsKeyDown(vk)) return false;
  shell.SetKey(vk, false);
  return true;
}

// Camera keys act on every pass while held; each step is followed by an update.
void TurnAndMove(Demo& demo) {
  const ShellState& shell = demo.shell;
  Camera& camera = demo.camera;
  const auto act = [&](uint32_t vk, auto&& step) {
    if (!shell.IsKeyDown(vk)) return;
    step();
    camera.Update();
  };
  act(VK_LEFT, [&] { camera.Yaw(3.0f); });
  act(VK_RIGHT, [&] { camera.Yaw(-3.0f); });
  act(VK_UP, [&] { camera.Pitch(-3.0f); });
  act(VK_DOWN, [&] { camera.Pitch(3.0f); });
  act(VK_DELETE, [&] { camera.Roll(3.0f); });
  act(VK_INSERT, [&] { camera.Roll(-3.0f); });
  act('A', [&] { camera.MoveSideways(-1.0f); });
  act('D', [&] { camera.MoveSideways(1.0f); });
  // The step is whatever speed the tunnel last left (2.7 before it first ran).
  act('W', [&] { camera.MoveForward(demo.tunnel.TunnelSpeed); });
  act('X', [&] { camera.MoveForward(-demo.tunnel.TunnelSpeed); });
  act('Q', [&] { camera.MoveUp(-1.0f); });
  act('E', [&] { camera.MoveUp(1.0f); });
}

}  // namespace

void ApplyKeyboardControls(Demo& demo) {
  ShellState& shell = demo.shell;
  if (TakeKey(shell, 'P')) demo.terrain.ToggleOctreeDisplay(demo.octreeDisplay);
  if (TakeKey(shell, 'I')) demo.terrain.ToggleSolidFill();
  if (TakeKey(shell, 'U')) demo.terrain.ToggleTexturing();
  if (TakeKey(shell, 'Y')) demo.terrain.ToggleSmoothShading();
  if (TakeKey(shell, 'R')) demo.octreeDisplay.HideEmptyOctreeNodes = !demo.octreeDisplay.HideEmptyOctreeNodes;
  if (TakeKey(shell, 'M')) demo.platform.MessageBox(0, "Hey, you found an easter egg", "easter egg", MB_OK);
  TurnAndMove(demo);
}
