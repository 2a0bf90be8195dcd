// WebOptions: what the page's address asks of the browser build. Plain play, or a
// test run (fixed frame rate and size on a virtual clock, frames handed out at the
// given programme times), or a timing run (the real clock, the start answered by the
// page itself, the delay to the first frame reported).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class WebMode { Play, Test, Timing };

struct WebOptions {
  WebMode mode = WebMode::Play;
  int fps = 60;      // test runs: frame k is drawn at programme time floor(k * 1000 / fps) ms
  int width = 1024;  // client size of the first window
  int height = 768;
  std::vector<uint32_t> times;  // test runs: programme times (ms) whose frames are handed out, ascending
};

struct ParsedWebOptions {
  bool ok = false;
  WebOptions options;
  std::string error;  // why the address was refused
};

// Parses a query string such as "?test&fps=5&size=320x240&times=10000,33000"
// ("test", "timing" or neither; then fps, size and times, each at most once; times only
// with "test", strictly ascending, within the programme). Unknown names are refused.
ParsedWebOptions ParseWebOptions(std::string_view query);

}  // namespace platform
