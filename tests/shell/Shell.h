// Shell tests: the demo's entry on the headless backend, and what the shell itself shows and asks for
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "support/DemoRun.h"

namespace shelltest {

inline const std::string kRefused =
    "The Requested Fullscreen Mode Is Not Supported By\n"
    "Your Video Card. Use Windowed Mode Instead? / Landscape / 0x34 / no owner";

// The box lines of a run, less start-up's reports of data files: these runs have no data, and the
// readers test those boxes themselves.
inline std::vector<std::string> ShellBoxes(const testsupport::DemoRun& run) {
  std::vector<std::string> lines = run.BoxLines();
  std::erase_if(lines, [](const std::string& line) {
    return line.find("Error Loading Bitmap") != std::string::npos ||
           line.rfind("Error loading font", 0) == 0 || line.rfind("Could not generate", 0) == 0;
  });
  return lines;
}

// Position of `line` among the backend's calls; past the end when it was never called.
inline size_t CallIndex(const testsupport::DemoRun& run, const std::string& line) {
  const auto& calls = run.os.Calls();
  return static_cast<size_t>(std::find(calls.begin(), calls.end(), line) - calls.begin());
}

}  // namespace shelltest
