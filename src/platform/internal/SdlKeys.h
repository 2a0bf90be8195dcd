// SdlKeys: SDL key codes to Win32 virtual-key codes
#pragma once

#include <cstdint>

namespace platform {

// The Win32 virtual-key code of an SDL_Keycode, 0 for keys the demo cannot see.
uint32_t VirtualKeyFromSdl(int32_t keycode);

}  // namespace platform
