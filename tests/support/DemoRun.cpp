// Test support: the frame-by-frame driver of the whole demo
#include "support/DemoRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "shell/MainLoop.h"

namespace testsupport {

namespace {
constexpr size_t kRunawayFrames = 20000;  // ten times the longest run the suites make
}  // namespace

DemoRun::DemoRun(const platform::HeadlessOptions& options) : os(options), demo(std::make_unique<Demo>(os)) {
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
    PresentedFrame frame{os.FramesPresented(), restarts, static_cast<int32_t>(os.Ticks() - startTick_), {}};
    if (keepPixels) frame.pixels = os.ReadPixels();
    ++sinceStart_;
    frames.push_back(std::move(frame));
    // A fault that keeps the loop from ending (a lost Escape while minimised, say) fails the test instead
    // of hanging it with an ever longer record.
    if (frames.size() == kRunawayFrames) {
      ADD_FAILURE() << "the run had not ended after " << kRunawayFrames << " frames";
      os.QueueClose();
    }
    if (afterPresent) afterPresent(frames.back());
  };
}

int DemoRun::Run(int width, int height) { return RunLandscape(*demo, {width, height}); }

std::vector<std::string> DemoRun::BoxLines() const {
  std::vector<std::string> lines;
  for (const auto& box : os.MessageBoxes()) {
    char flags[16];
    std::snprintf(flags, sizeof flags, "%#x", box.flags);
    lines.push_back(box.text + " / " + box.caption + " / " + flags + " / " +
                    (box.owner != 0 ? "main window" : "no owner"));
  }
  return lines;
}

std::function<int32_t(uint64_t)> Visit(std::vector<int32_t> times) {
  return [times = std::move(times)](uint64_t i) { return times[std::min<size_t>(i, times.size() - 1)]; };
}

}  // namespace testsupport
