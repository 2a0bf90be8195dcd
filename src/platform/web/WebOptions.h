// WebOptions: what the page's address asks of the browser build
//
// Plain play, or a test run (fixed frame rate and size on a virtual clock, frames handed out at the given
// programme times), or a timing run (the real clock, the start answered by the page itself, the delay to the
// first frame reported).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class WebMode { kPlay, kTest, kTiming };

// A key a test run presses: it goes down before the first frame drawn at or after
// `timeMs` and up before the frame after that one, as the capture tool's --keys does.
struct ScriptedKey {
  uint32_t timeMs = 0;
  std::string code;  // the DOM code of the key: "F1", "KeyI", "ArrowLeft", ...
};

struct WebOptions {
  WebMode mode = WebMode::kPlay;
  int fps = 60;      // test runs: frame k is drawn at programme time floor(k * 1000 / fps) ms
  int width = 1024;  // client size of the first window
  int height = 768;
  std::vector<uint32_t> times;    // test runs: programme times (ms) whose frames are handed out, ascending
  std::vector<ScriptedKey> keys;  // test runs: in time order
  bool toEnd = false;  // test runs: play on to the programme's end instead of closing after the last time
};

struct ParsedWebOptions {
  bool ok = false;
  WebOptions options;
  std::string error;  // why the address was refused
};

// Parses a query string such as "?test&fps=5&size=320x240&times=10000,33000&keys=1000:F1"
// ("test", "timing" or neither; then fps, size, times, keys and end, each at most once;
// times, keys and end only with "test", times strictly ascending and within the programme, keys as
// MS:CODE with codes of keys the demo can see). Unknown names are refused.
ParsedWebOptions ParseWebOptions(std::string_view query);

}  // namespace platform
