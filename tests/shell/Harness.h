// Shell test harness: the demo's entry run on the headless backend with a frame schedule
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "director/Demo.h"
#include "platform/HeadlessPlatform.h"
#include "shell/MainLoop.h"

// Frame k (counted by presented frames) is drawn at programme time `timeOf(k)`; `afterPresent(k)` may queue
// messages after the k-th presented frame (k from 1), which the loop then takes before its next frame.

struct Harness {
  explicit Harness(const platform::HeadlessOptions& options = {}) : os(options), demo(os) {
    os.onIdle = [this] {
      const uint32_t target =
          demo.timeline.TimelineStartTick + static_cast<uint32_t>(timeOf(os.FramesPresented()));
      const auto ahead = static_cast<int32_t>(target - os.Ticks());
      if (ahead > 0) os.AdvanceClock(static_cast<uint32_t>(ahead));  // also pulls the audio
    };
    os.onSwap = [this] {
      if (afterPresent) afterPresent(os.FramesPresented());
    };
  }

  int Run(const LandscapeOptions& options = {}) { return RunLandscape(demo, options); }

  size_t CallIndex(const std::string& line) const {
    const auto& calls = os.Calls();
    return static_cast<size_t>(std::find(calls.begin(), calls.end(), line) - calls.begin());
  }
  bool Called(const std::string& line) const { return CallIndex(line) < os.Calls().size(); }

  // The boxes shown so far, less start-up's reports of missing data files: these tests
  // run without the data, and the modules that read it test those boxes themselves.
  const std::vector<platform::MessageBoxRecord>& ShellBoxes() const {
    // Rebuilt only when a box was added, so references from earlier calls stay valid.
    if (os.MessageBoxes().size() != shellBoxesSeen_) {
      shellBoxesSeen_ = os.MessageBoxes().size();
      shellBoxes_.clear();
      for (const auto& box : os.MessageBoxes()) {
        const bool missingData = box.caption == "Error Loading Bitmap" || box.text == "Error loading font" ||
                                 box.text == "Could not generate landscape from heightmap info";
        if (!missingData) shellBoxes_.push_back(box);
      }
    }
    return shellBoxes_;
  }

  platform::HeadlessPlatform os;
  Demo demo;
  // Default: 100 ms per frame, which ends the programme after 1860 frames.
  std::function<int32_t(uint64_t)> timeOf = [](uint64_t k) { return static_cast<int32_t>(k * 100); };
  std::function<void(uint64_t)> afterPresent;

 private:
  mutable std::vector<platform::MessageBoxRecord> shellBoxes_;
  mutable size_t shellBoxesSeen_ = 0;
};
