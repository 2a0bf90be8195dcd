// ShellState: the window-side program-wide values the shell writes and the director reads
#pragma once

#include <array>

#include "platform/Platform.h"

// The window-side program-wide values: the key flags, the window and its GL handles, and the activity and
// display-mode switches. The shell writes most of them; the director reads MainWindow (owner of its boxes)
// and sets the Escape flag when the programme ends, without including the shell.

struct ShellState {
  // Indexed by Win32 virtual-key code; true from key-down to key-up.
  std::array<bool, 256> KeyDown{};
  platform::WindowHandle MainWindow = 0;
  platform::DeviceHandle DeviceContext = 0;
  platform::ContextHandle RenderContext = 0;
  bool AppActive = true;      // false while the window is minimised
  bool AppFullscreen = true;  // true while the window runs in a changed display mode
  bool classRegistered = false;

  bool IsKeyDown(uint32_t vk) const { return vk < KeyDown.size() && KeyDown[vk]; }
  void SetKey(uint32_t vk, bool down) {
    if (vk < KeyDown.size()) KeyDown[vk] = down;
  }
};
