// landscape-capture: the demo rendered frame-exact without a screen, to PNG pictures and video
//
// The demo rendered frame-exact without a screen, to PNG pictures and an H.264 video with its music. Run it
// in the run folder (the one holding data/ and textures/).
#include <cstdio>
#include <string>
#include <vector>

#include "capture/CaptureOptions.h"
#include "capture/CaptureRun.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const capture::ParsedOptions parsed = capture::ParseCaptureOptions(args);
  if (!parsed.ok) {
    std::fprintf(stderr, "landscape-capture: %s (see --help)\n", parsed.error.c_str());
    return 2;
  }
  if (parsed.options.help) {
    std::fputs(capture::CaptureUsage().c_str(), stdout);
    return 0;
  }
  return capture::RunCapture(parsed.options);
}
