// WebKeys: the DOM key names the demo can see, and the Win32 message rules.
#include "platform/web/WebKeys.h"

#include <utility>

namespace platform {
namespace {

struct NamedKey {
  std::string_view code;
  uint32_t vk;
};

constexpr NamedKey kNamedKeys[] = {
    {"Backspace", VK_BACK},
    {"Tab", VK_TAB},
    {"Enter", VK_RETURN},
    {"NumpadEnter", VK_RETURN},
    {"ShiftLeft", VK_SHIFT},
    {"ShiftRight", VK_SHIFT},
    {"ControlLeft", VK_CONTROL},
    {"ControlRight", VK_CONTROL},
    {"AltLeft", VK_MENU},
    {"AltRight", VK_MENU},
    {"Pause", VK_PAUSE},
    {"CapsLock", VK_CAPITAL},
    {"Escape", VK_ESCAPE},
    {"Space", VK_SPACE},
    {"PageUp", VK_PRIOR},
    {"PageDown", VK_NEXT},
    {"End", VK_END},
    {"Home", VK_HOME},
    {"ArrowLeft", VK_LEFT},
    {"ArrowUp", VK_UP},
    {"ArrowRight", VK_RIGHT},
    {"ArrowDown", VK_DOWN},
    {"Insert", VK_INSERT},
    {"Delete", VK_DELETE},
    {"NumpadMultiply", VK_MULTIPLY},
    {"NumpadAdd", VK_ADD},
    {"NumpadSubtract", VK_SUBTRACT},
    {"NumpadDecimal", VK_DECIMAL},
    {"NumpadDivide", VK_DIVIDE},
};

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "F1" to "F12".
uint32_t FunctionKey(std::string_view code) {
  if (code.size() < 2 || code.size() > 3 || code[0] != 'F') return 0;
  unsigned number = 0;
  for (char c : code.substr(1)) {
    if (!IsDigit(c)) return 0;
    number = number * 10 + static_cast<unsigned>(c - '0');
  }
  return number >= 1 && number <= 12 ? VK_F1 + number - 1 : 0;
}

}  // namespace

uint32_t VirtualKeyFromDom(std::string_view key, std::string_view code) {
  // The number pad's digits are keys of their own whatever Num Lock makes of them.
  if (code.size() == 7 && code.substr(0, 6) == "Numpad" && IsDigit(code[6])) {
    return VK_NUMPAD0 + static_cast<uint32_t>(code[6] - '0');
  }
  if (key.size() == 1 && IsLetter(key[0])) return static_cast<uint32_t>(key[0] & ~0x20);  // upper case
  if (key.size() == 1 && IsDigit(key[0])) return static_cast<uint32_t>(key[0]);
  // A layout that gives no plain letter or digit here (Alt and Option combinations,
  // the French number row): the key's place on a US keyboard names it.
  if (code.size() == 4 && code.substr(0, 3) == "Key" && IsLetter(code[3]))
    return static_cast<uint32_t>(code[3]);
  if (code.size() == 6 && code.substr(0, 5) == "Digit" && IsDigit(code[5]))
    return static_cast<uint32_t>(code[5]);
  if (const uint32_t function = FunctionKey(code)) return function;
  for (const NamedKey& named : kNamedKeys) {
    if (named.code == code) return named.vk;
  }
  return 0;
}

std::string DomKeyForCode(std::string_view code) {
  if (code.size() == 4 && code.substr(0, 3) == "Key" && IsLetter(code[3])) {
    return std::string(1, static_cast<char>(code[3] | 0x20));  // lower case
  }
  if (code.size() == 6 && code.substr(0, 5) == "Digit" && IsDigit(code[5])) return std::string(1, code[5]);
  return std::string(code);
}

Message KeyMessage(WindowHandle window, const DomKey& key, std::array<bool, 256>& plainDown) {
  const uint32_t vk = key.vk & 0xFF;
  const bool alt = key.alt || vk == VK_MENU;
  const bool system = alt || vk == VK_F10;  // what Windows sends as system keys
  intptr_t lParam = 1;                      // repeat count
  if (alt) lParam |= KF_ALTDOWN_BIT;
  if (key.repeat || !key.down) lParam |= KF_REPEAT_BIT;
  if (!key.down) lParam |= KF_UP_BIT;
  // A key that went down plain comes up plain even if Alt was pressed in between;
  // Win32 would send WM_SYSKEYUP and leave the key's flag stuck down.
  const bool plainUp = !key.down && plainDown[vk];
  plainDown[vk] = key.down && !system;
  const uint32_t message =
      key.down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system && !plainUp ? WM_SYSKEYUP : WM_KEYUP);
  return {window, message, vk, lParam};
}

bool ClaimsKey(uint32_t vk, bool control, bool meta) {
  const bool otherFunctionKey = vk > VK_F1 && vk <= VK_F12;  // reload, full screen, developer tools
  return vk != 0 && vk != VK_ESCAPE && !otherFunctionKey && !control && !meta;
}

}  // namespace platform
