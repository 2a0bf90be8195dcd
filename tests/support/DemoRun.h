// Test support: the whole demo through its real entry on the headless backend, driven frame by frame
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "director/Demo.h"
#include "platform/HeadlessPlatform.h"

namespace testsupport {

struct PresentedFrame {
  uint64_t number = 0;                // frames presented so far, this one included
  int restart = 0;                    // start-ups (F1) before this frame's
  int32_t t = 0;                      // programme time, ms
  std::vector<unsigned char> pixels;  // RGBA, bottom row first; only with keepPixels
};

// Before each frame the virtual clock is set from a schedule that starts over at every start-up; after each
// presented frame a test may look at it and queue messages, which the loop takes before its next frame.
class DemoRun {
 public:
  explicit DemoRun(const platform::HeadlessOptions& options = {});

  // Programme time of the i-th frame after each start-up (i from 0).
  std::function<int32_t(uint64_t i)> timeOf = [](uint64_t i) { return static_cast<int32_t>(i) * 200; };
  std::function<void(const PresentedFrame&)> afterPresent;
  std::function<void(uint64_t i)> beforeFrame;  // the clock is set; the i-th frame after the start-up follows
  bool keepPixels = false;

  int Run(int width = 1024, int height = 768);
  std::vector<std::string> BoxLines() const;  // "text / caption / flags / owner", in order

  platform::HeadlessPlatform os;
  std::unique_ptr<Demo> demo;  // reset() destroys the program-wide objects, as the process's end does
  std::vector<PresentedFrame> frames;
  int restarts = 0;

 private:
  uint32_t startTick_ = 0;
  uint64_t sinceStart_ = 0;
  int windowsSeen_ = 0;
};

// Frame i at times[i]; the last time repeats.
std::function<int32_t(uint64_t)> Visit(std::vector<int32_t> times);

}  // namespace testsupport
