// VirtualKeys: Win32 virtual-key names (the VK_ constants without the prefix) to codes, for the key script.
#pragma once

#include <string_view>

namespace capture {

// The code of a key name ("P", "F1", "LEFT", "VK_ESCAPE", "esc", ...), case-insensitive;
// -1 when the name is unknown.
int FindVirtualKey(std::string_view name);

// Keys that Windows sends as WM_SYSKEYDOWN / WM_SYSKEYUP rather than WM_KEYDOWN / WM_KEYUP
// when pressed on their own: F10 and Alt.
bool IsSystemKey(int code);

}  // namespace capture
