// WebKeys: DOM keyboard events as the Win32 key messages the shell reads
//
// DOM keyboard events as the Win32 key messages the shell reads, with the same rules as the SDL backend: Alt
// combinations and F10 are system keys, a held key repeats as further key-downs, a key that went down plain
// comes up plain.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace platform {

// The virtual-key code of a DOM event's `key` (what the layout makes of the key, so
// the layout decides which key is "W", as for Win32 letters) and `code` (the
// physical key, for everything else). 0 for keys the demo cannot see.
uint32_t VirtualKeyFromDom(std::string_view key, std::string_view code);

// The `key` a US layout gives the key of a DOM `code` without modifiers ("KeyI" is
// "i", "Digit1" is "1", named keys are their own name); for scripted key events.
std::string DomKeyForCode(std::string_view code);

struct DomKey {
  uint32_t vk = 0;
  bool down = false;
  bool repeat = false;  // the browser's auto-repeat
  bool alt = false;
};

// The message for one event; `plainDown` remembers, per key, whether its last
// key-down was a plain WM_KEYDOWN.
Message KeyMessage(WindowHandle window, const DomKey& key, std::array<bool, 256>& plainDown);

// Whether the page keeps the browser's own action for this key (scrolling, help,
// quick find): every key the demo can see, except Escape (it leaves full screen), F2
// to F12 and keys pressed with Control or Meta (the browser's and the system's shortcuts).
bool ClaimsKey(uint32_t vk, bool control, bool meta);

}  // namespace platform
