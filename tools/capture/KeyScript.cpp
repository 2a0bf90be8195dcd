// KeyScript: parsing the key list and scheduling its messages
#include "capture/KeyScript.h"

#include <algorithm>
#include <charconv>

#include "capture/VirtualKeys.h"

namespace capture {
namespace {

bool ParseInt64(std::string_view text, int base, int64_t* value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, *value, base);
  return result.ec == std::errc() && result.ptr == end;
}

// A key code from a name or number; -1 when it is neither or out of 1..254.
int ParseKey(std::string_view key) {
  int64_t code = -1;
  if (key.size() > 2 && (key.starts_with("0x") || key.starts_with("0X"))) {
    if (!ParseInt64(key.substr(2), 16, &code)) return -1;
  } else if (key.size() >= 2 &&
             std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    if (!ParseInt64(key, 10, &code)) return -1;
  } else {
    return FindVirtualKey(key);
  }
  return code >= 1 && code <= 254 ? static_cast<int>(code) : -1;
}

bool ParseEntry(std::string_view entry, KeyPress* press, std::string* error) {
  const size_t colon = entry.find(':');
  if (colon == std::string_view::npos) {
    *error = "key entry '" + std::string(entry) + "' is not MS:KEY";
    return false;
  }
  if (!ParseInt64(entry.substr(0, colon), 10, &press->timeMs) || press->timeMs < 0 ||
      press->timeMs > INT32_MAX) {
    *error = "key entry '" + std::string(entry) + "' has no valid time in ms";
    return false;
  }
  press->code = ParseKey(entry.substr(colon + 1));
  if (press->code < 0) {
    *error = "key entry '" + std::string(entry) + "' names no virtual key";
    return false;
  }
  return true;
}

}  // namespace

bool ParseKeyList(std::string_view list, std::vector<KeyPress>* presses, std::string* error) {
  std::vector<KeyPress> parsed;
  while (true) {
    const size_t comma = list.find(',');
    KeyPress press;
    if (!ParseEntry(list.substr(0, comma), &press, error)) return false;
    parsed.push_back(press);
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  presses->insert(presses->end(), parsed.begin(), parsed.end());
  return true;
}

KeyScript::KeyScript(const std::vector<KeyPress>& presses, const FrameSchedule& schedule) {
  for (const KeyPress& press : presses)
    entries_.push_back({schedule.FirstFrameAtOrAfter(press.timeMs), press.code});
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const Entry& a, const Entry& b) { return a.frame < b.frame; });
}

std::vector<ScriptedMessage> KeyScript::MessagesBefore(int64_t frame) const {
  // lParam as Windows fills it: repeat count 1; a key-up also has the previous-state and
  // transition bits (30, 31) set.
  constexpr intptr_t kDownBits = 1;
  constexpr intptr_t kUpBits = static_cast<intptr_t>(0xC0000001u);
  std::vector<ScriptedMessage> messages;
  const auto add = [&](int64_t pressFrame, bool down) {
    auto it = std::lower_bound(entries_.begin(), entries_.end(), pressFrame,
                               [](const Entry& e, int64_t f) { return e.frame < f; });
    for (; it != entries_.end() && it->frame == pressFrame; ++it) {
      const bool system = IsSystemKey(it->code);
      const uint32_t message =
          down ? (system ? kWmSysKeyDown : kWmKeyDown) : (system ? kWmSysKeyUp : kWmKeyUp);
      messages.push_back({message, static_cast<uintptr_t>(it->code), down ? kDownBits : kUpBits});
    }
  };
  add(frame - 1, false);
  add(frame, true);
  return messages;
}

}  // namespace capture
