// Test support: the whole demo through its real entry on the headless backend, driven frame by frame
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "director/Demo.h"
#include "platform/HeadlessPlatform.h"
#include "shell/MainLoop.h"

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
  explicit DemoRun(const platform::HeadlessOptions& options = {})
      : os(options), demo(std::make_unique<Demo>(os)) {
    os.onIdle = [this] {
      // Every start-up makes a window: a new one means the programme began again at 0.
      if (os.WindowsCreated() != windowsSeen_) {
        restarts += windowsSeen_ != 0 ? 1 : 0;
        windowsSeen_ = os.WindowsCreated();
        startTick_ = demo->timeline.TimelineStartTick;
        sinceStart_ = 0;
      }
      const auto ahead =
          static_cast<int32_t>(startTick_ + static_cast<uint32_t>(timeOf(sinceStart_)) - os.Ticks());
      if (ahead > 0) os.AdvanceClock(static_cast<uint32_t>(ahead));  // also pulls the audio
      if (beforeFrame) beforeFrame(sinceStart_);
    };
    os.onSwap = [this] {
      frames.push_back({os.FramesPresented(), restarts, static_cast<int32_t>(os.Ticks() - startTick_), {}});
      if (keepPixels) frames.back().pixels = os.ReadPixels();
      ++sinceStart_;
      // A fault that keeps the loop from ending (a lost Escape while minimised, say) fails the test instead
      // of hanging it with an ever longer record; ten times the longest run the suites make.
      if (frames.size() == 20000) {
        ADD_FAILURE() << "the run had not ended after " << frames.size() << " frames";
        os.QueueClose();
      }
      if (afterPresent) afterPresent(frames.back());
    };
  }

  // Programme time of the i-th frame after each start-up (i from 0).
  std::function<int32_t(uint64_t i)> timeOf = [](uint64_t i) { return static_cast<int32_t>(i) * 200; };
  std::function<void(const PresentedFrame&)> afterPresent;
  std::function<void(uint64_t i)> beforeFrame;  // the clock is set; the i-th frame after the start-up follows
  bool keepPixels = false;

  int Run(int width = 1024, int height = 768) { return RunLandscape(*demo, {width, height}); }
  // "text / caption / flags / owner", in order
  std::vector<std::string> BoxLines() const {
    std::vector<std::string> lines;
    for (const auto& box : os.MessageBoxes()) {
      char flags[16];
      std::snprintf(flags, sizeof flags, "%#x", box.flags);
      lines.push_back(box.text + " / " + box.caption + " / " + flags + " / " +
                      (box.owner != 0 ? "main window" : "no owner"));
    }
    return lines;
  }

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
inline std::function<int32_t(uint64_t)> Visit(std::vector<int32_t> times) {
  return [times = std::move(times)](uint64_t i) { return times[std::min<size_t>(i, times.size() - 1)]; };
}

}  // namespace testsupport
