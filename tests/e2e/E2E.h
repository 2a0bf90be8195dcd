// E2E: the whole demo on the headless backend, driven frame by frame through its real entry
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "director/Demo.h"
#include "director/Timeline.h"
#include "platform/HeadlessPlatform.h"
#include "shell/MainLoop.h"

// The driver sets the virtual clock before every frame from a schedule of programme times that starts over
// whenever the demo restarts (F1), records every presented frame (its programme time, scene and a few pixel
// figures), and lets a test queue messages after any frame.

namespace e2e {

inline constexpr int kWidth = 160;  // small frames keep a whole programme to seconds
inline constexpr int kHeight = 120;
inline constexpr int32_t kFrameMs = 200;  // 5 frames per second of programme time

// A fresh copy of the generated run folder ($LANDSCAPE_RUN_DIR) in a scratch folder.
std::filesystem::path CopyRunFolder();

// Makes `dir` the working directory for its lifetime.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::filesystem::path& dir);
  ~WorkingDirectory();

 private:
  std::filesystem::path previous_;
};

// What one presented frame showed.
struct Frame {
  uint64_t number = 0;  // presented frames so far, this one included (from 1)
  int restart = 0;      // start-ups before this frame's, 0 for the first
  int32_t t = 0;        // programme time of the frame (ms)
  Scene scene = Scene::kNone;
  double lit = 0.0;                           // share of pixels brighter than the clear colour's black
  double white = 0.0;                         // share of nearly white pixels
  double grey = 0.0;                          // share of lit pixels whose channels agree within a few steps
  double red = 0.0, green = 0.0, blue = 0.0;  // mean channel values, 0 to 255
  uint64_t hash = 0;                          // of the whole picture, to tell frames apart
  std::vector<unsigned char> pixels;          // RGBA, bottom row first; kept only when asked
};

class DemoRun {
 public:
  DemoRun();

  // Programme time of the i-th frame after each start-up (i from 0).
  std::function<int32_t(uint64_t i)> timeOf = [](uint64_t i) { return static_cast<int32_t>(i) * kFrameMs; };
  // Runs after the frame numbered `number` was presented; may queue messages.
  std::function<void(const Frame&)> afterPresent;
  bool keepPixels = false;

  int Run();
  // Destroys the program-wide objects, as the end of the process does.
  void EndProcess() { demo.reset(); }

  std::vector<std::string> BoxLines() const;  // "text / caption / owner", in order

  platform::HeadlessPlatform os;
  std::unique_ptr<Demo> demo;
  std::vector<Frame> frames;
  int restarts = 0;

 private:
  uint32_t startTick_ = 0;
  uint64_t sinceStart_ = 0;
  int windowsSeen_ = 0;
};

// Share of pixels that differ from `b` by more than a few steps in any channel.
double Difference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b);

// A schedule that shows each scene once: frame i at times[min(i, last)].
std::function<int32_t(uint64_t)> Visit(std::vector<int32_t> times);

}  // namespace e2e
