// VirtualKeys: the key-name table over the Win32 codes, and its look-up.
#include "capture/VirtualKeys.h"

#include <array>
#include <cctype>
#include <cstdint>
#include <string>

#include "platform/Win32.h"

namespace capture {
namespace {

using namespace platform;

struct NamedKey {
  std::string_view name;
  uint32_t code;
};

// Letters, digits, F1..F24 and NUMPAD0..9 are computed; these are the rest, with a few
// everyday aliases (ESC, ENTER, ALT, ...) after the Win32 names.
constexpr std::array kNamedKeys = {
    NamedKey{"BACK", VK_BACK},
    NamedKey{"TAB", VK_TAB},
    NamedKey{"CLEAR", VK_CLEAR},
    NamedKey{"RETURN", VK_RETURN},
    NamedKey{"SHIFT", VK_SHIFT},
    NamedKey{"CONTROL", VK_CONTROL},
    NamedKey{"MENU", VK_MENU},
    NamedKey{"PAUSE", VK_PAUSE},
    NamedKey{"CAPITAL", VK_CAPITAL},
    NamedKey{"ESCAPE", VK_ESCAPE},
    NamedKey{"SPACE", VK_SPACE},
    NamedKey{"PRIOR", VK_PRIOR},
    NamedKey{"NEXT", VK_NEXT},
    NamedKey{"END", VK_END},
    NamedKey{"HOME", VK_HOME},
    NamedKey{"LEFT", VK_LEFT},
    NamedKey{"UP", VK_UP},
    NamedKey{"RIGHT", VK_RIGHT},
    NamedKey{"DOWN", VK_DOWN},
    NamedKey{"SELECT", VK_SELECT},
    NamedKey{"PRINT", VK_PRINT},
    NamedKey{"EXECUTE", VK_EXECUTE},
    NamedKey{"SNAPSHOT", VK_SNAPSHOT},
    NamedKey{"INSERT", VK_INSERT},
    NamedKey{"DELETE", VK_DELETE},
    NamedKey{"HELP", VK_HELP},
    NamedKey{"LWIN", VK_LWIN},
    NamedKey{"RWIN", VK_RWIN},
    NamedKey{"APPS", VK_APPS},
    NamedKey{"SLEEP", VK_SLEEP},
    NamedKey{"MULTIPLY", VK_MULTIPLY},
    NamedKey{"ADD", VK_ADD},
    NamedKey{"SEPARATOR", VK_SEPARATOR},
    NamedKey{"SUBTRACT", VK_SUBTRACT},
    NamedKey{"DECIMAL", VK_DECIMAL},
    NamedKey{"DIVIDE", VK_DIVIDE},
    NamedKey{"NUMLOCK", VK_NUMLOCK},
    NamedKey{"SCROLL", VK_SCROLL},
    NamedKey{"LSHIFT", VK_LSHIFT},
    NamedKey{"RSHIFT", VK_RSHIFT},
    NamedKey{"LCONTROL", VK_LCONTROL},
    NamedKey{"RCONTROL", VK_RCONTROL},
    NamedKey{"LMENU", VK_LMENU},
    NamedKey{"RMENU", VK_RMENU},
    NamedKey{"ESC", VK_ESCAPE},
    NamedKey{"ENTER", VK_RETURN},
    NamedKey{"BACKSPACE", VK_BACK},
    NamedKey{"ALT", VK_MENU},
    NamedKey{"CTRL", VK_CONTROL},
    NamedKey{"DEL", VK_DELETE},
    NamedKey{"INS", VK_INSERT},
    NamedKey{"PAGEUP", VK_PRIOR},
    NamedKey{"PAGEDOWN", VK_NEXT},
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
  if (const int f = NumberAfter(key, "F"); f >= 1 && f <= 24) return static_cast<int>(VK_F1) + f - 1;
  if (const int n = NumberAfter(key, "NUMPAD"); n >= 0 && n <= 9 && key.size() == 7) {
    return static_cast<int>(VK_NUMPAD0) + n;
  }
  for (const NamedKey& entry : kNamedKeys) {
    if (entry.name == key) return static_cast<int>(entry.code);
  }
  return -1;
}

bool IsSystemKey(int code) {
  const auto key = static_cast<uint32_t>(code);
  return key == VK_F10 || key == VK_MENU || key == VK_LMENU || key == VK_RMENU;
}

}  // namespace capture
