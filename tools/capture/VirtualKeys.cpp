// VirtualKeys: the name table and its look-up.
// Depends on: nothing.
#include "capture/VirtualKeys.h"

#include <array>
#include <cctype>
#include <string>

namespace capture {
namespace {

struct NamedKey {
  std::string_view name;
  int code;
};

// Letters, digits, F1..F24 and NUMPAD0..9 are computed; these are the rest, with a few
// everyday aliases (ESC, ENTER, ALT, ...) after the Win32 names.
constexpr std::array kNamedKeys = {
    NamedKey{"BACK", 0x08},     NamedKey{"TAB", 0x09},       NamedKey{"CLEAR", 0x0C},
    NamedKey{"RETURN", 0x0D},   NamedKey{"SHIFT", 0x10},     NamedKey{"CONTROL", 0x11},
    NamedKey{"MENU", 0x12},     NamedKey{"PAUSE", 0x13},     NamedKey{"CAPITAL", 0x14},
    NamedKey{"ESCAPE", 0x1B},   NamedKey{"SPACE", 0x20},     NamedKey{"PRIOR", 0x21},
    NamedKey{"NEXT", 0x22},     NamedKey{"END", 0x23},       NamedKey{"HOME", 0x24},
    NamedKey{"LEFT", 0x25},     NamedKey{"UP", 0x26},        NamedKey{"RIGHT", 0x27},
    NamedKey{"DOWN", 0x28},     NamedKey{"SELECT", 0x29},    NamedKey{"PRINT", 0x2A},
    NamedKey{"EXECUTE", 0x2B},  NamedKey{"SNAPSHOT", 0x2C},  NamedKey{"INSERT", 0x2D},
    NamedKey{"DELETE", 0x2E},   NamedKey{"HELP", 0x2F},      NamedKey{"LWIN", 0x5B},
    NamedKey{"RWIN", 0x5C},     NamedKey{"APPS", 0x5D},      NamedKey{"SLEEP", 0x5F},
    NamedKey{"MULTIPLY", 0x6A}, NamedKey{"ADD", 0x6B},       NamedKey{"SEPARATOR", 0x6C},
    NamedKey{"SUBTRACT", 0x6D}, NamedKey{"DECIMAL", 0x6E},   NamedKey{"DIVIDE", 0x6F},
    NamedKey{"NUMLOCK", 0x90},  NamedKey{"SCROLL", 0x91},    NamedKey{"LSHIFT", 0xA0},
    NamedKey{"RSHIFT", 0xA1},   NamedKey{"LCONTROL", 0xA2},  NamedKey{"RCONTROL", 0xA3},
    NamedKey{"LMENU", 0xA4},    NamedKey{"RMENU", 0xA5},     NamedKey{"ESC", 0x1B},
    NamedKey{"ENTER", 0x0D},    NamedKey{"BACKSPACE", 0x08}, NamedKey{"ALT", 0x12},
    NamedKey{"CTRL", 0x11},     NamedKey{"DEL", 0x2E},       NamedKey{"INS", 0x2D},
    NamedKey{"PAGEUP", 0x21},   NamedKey{"PAGEDOWN", 0x22},
};

// "F12" -> 12, "NUMPAD3" -> 3 for a name that is `prefix` followed by 1 or 2 digits; else -1.
int NumberAfter(std::string_view name, std::string_view prefix) {
  if (name.size() <= prefix.size() || name.size() > prefix.size() + 2 || !name.starts_with(prefix)) return -1;
  int value = 0;
  for (char c : name.substr(prefix.size())) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

int FindVirtualKey(std::string_view name) {
  std::string upper;
  for (char c : name) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::string_view key = upper;
  if (key.starts_with("VK_")) key.remove_prefix(3);
  if (key.size() == 1 && ((key[0] >= 'A' && key[0] <= 'Z') || (key[0] >= '0' && key[0] <= '9'))) {
    return key[0];  // letter and digit keys have their ASCII upper-case codes
  }
  if (const int f = NumberAfter(key, "F"); f >= 1 && f <= 24) return 0x70 + f - 1;
  if (const int n = NumberAfter(key, "NUMPAD"); n >= 0 && n <= 9 && key.size() == 7) return 0x60 + n;
  for (const NamedKey& entry : kNamedKeys) {
    if (entry.name == key) return entry.code;
  }
  return -1;
}

bool IsSystemKey(int code) { return code == 0x79 || code == 0x12 || code == 0xA4 || code == 0xA5; }

}  // namespace capture
