// KeyScript: scripted key presses turned into the Win32 key messages queued before frames
//
// A press at MS goes down before the first frame drawn at or after MS and comes up before the frame after
// that one, so a toggle key acts once, like a short real key press.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "capture/FrameSchedule.h"

namespace capture {

// Win32 message numbers the script produces.
constexpr uint32_t kWmKeyDown = 0x0100;
constexpr uint32_t kWmKeyUp = 0x0101;
constexpr uint32_t kWmSysKeyDown = 0x0104;
constexpr uint32_t kWmSysKeyUp = 0x0105;

struct KeyPress {
  int64_t timeMs = 0;
  int code = 0;  // Win32 virtual-key code, 1..254
};

struct ScriptedMessage {
  uint32_t message = 0;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
};

// Parses "MS:KEY,MS:KEY,..." where KEY is a virtual-key name or a code (decimal of two or
// more digits, or 0x hex; a single digit is the digit key). False with `error` set on the
// first malformed entry; `presses` is left untouched then.
bool ParseKeyList(std::string_view list, std::vector<KeyPress>* presses, std::string* error);

class KeyScript {
 public:
  KeyScript() = default;
  KeyScript(const std::vector<KeyPress>& presses, const FrameSchedule& schedule);

  // What to queue before drawing `frame`: the key-ups of the previous frame's presses,
  // then the key-downs of this frame's, each group in script order.
  std::vector<ScriptedMessage> MessagesBefore(int64_t frame) const;

 private:
  struct Entry {
    int64_t frame;  // the frame the key is down for
    int code;
  };
  std::vector<Entry> entries_;  // sorted by frame, script order kept within a frame
};

}  // namespace capture
