// E2E: the frame-by-frame driver of the whole demo and its run folder.
#include "E2E.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "support/GLTest.h"

namespace fs = std::filesystem;

namespace e2e {

fs::path CopyRunFolder() {
  const char* env = std::getenv("LANDSCAPE_RUN_DIR");
  const fs::path source = env != nullptr && *env != '\0' ? fs::path(env) : fs::path("build/demo");
  const fs::path target = testsupport::ScratchDir() / "run";
  fs::create_directories(target);
  for (const char* folder : {"data", "textures"}) {
    EXPECT_TRUE(fs::exists(source / folder)) << "no generated data in " << source;
    fs::copy(source / folder, target / folder, fs::copy_options::recursive);
  }
  return target;
}

WorkingDirectory::WorkingDirectory(const fs::path& dir) : previous_(fs::current_path()) {
  fs::current_path(dir);
}

WorkingDirectory::~WorkingDirectory() { fs::current_path(previous_); }

namespace {

void Measure(Frame& frame, const std::vector<unsigned char>& rgba) {
  size_t lit = 0, white = 0, grey = 0;
  uint64_t sum[3] = {0, 0, 0};
  uint64_t hash = 1469598103934665603ull;  // FNV-1a
  const size_t count = rgba.size() / 4;
  for (size_t i = 0; i < count; ++i) {
    const int r = rgba[4 * i], g = rgba[4 * i + 1], b = rgba[4 * i + 2];
    sum[0] += r, sum[1] += g, sum[2] += b;
    for (int c : {r, g, b}) hash = (hash ^ static_cast<uint64_t>(c)) * 1099511628211ull;
    if (std::max({r, g, b}) <= 8) continue;
    ++lit;
    if (std::min({r, g, b}) >= 235) ++white;
    if (std::max({r, g, b}) - std::min({r, g, b}) <= 6) ++grey;
  }
  frame.lit = count ? static_cast<double>(lit) / count : 0.0;
  frame.white = count ? static_cast<double>(white) / count : 0.0;
  frame.grey = lit ? static_cast<double>(grey) / lit : 0.0;
  if (count != 0) {
    frame.red = static_cast<double>(sum[0]) / count;
    frame.green = static_cast<double>(sum[1]) / count;
    frame.blue = static_cast<double>(sum[2]) / count;
  }
  frame.hash = hash;
}

}  // namespace

DemoRun::DemoRun() : demo(std::make_unique<Demo>(os)) {
  os.onIdle = [this] {
    // Every start-up makes a window: a new one means the programme began again at 0.
    if (os.WindowsCreated() != windowsSeen_) {
      if (windowsSeen_ != 0) ++restarts;
      windowsSeen_ = os.WindowsCreated();
      startTick_ = demo->timeline.TimelineStartTick;
      sinceStart_ = 0;
    }
    const uint32_t target = startTick_ + static_cast<uint32_t>(timeOf(sinceStart_));
    const auto ahead = static_cast<int32_t>(target - os.Ticks());
    if (ahead > 0) os.AdvanceClock(static_cast<uint32_t>(ahead));
  };
  os.onSwap = [this] {
    Frame frame;
    frame.number = os.FramesPresented();
    frame.restart = restarts;
    frame.t = static_cast<int32_t>(os.Ticks() - startTick_);
    frame.scene = SceneAt(frame.t);
    std::vector<unsigned char> rgba = os.ReadPixels();
    Measure(frame, rgba);
    if (keepPixels) frame.pixels = std::move(rgba);
    ++sinceStart_;
    frames.push_back(std::move(frame));
    if (afterPresent) afterPresent(frames.back());
  };
}

int DemoRun::Run() {
  LandscapeOptions options;
  options.width = kWidth;
  options.height = kHeight;
  return RunLandscape(*demo, options);
}

std::vector<std::string> DemoRun::BoxLines() const {
  std::vector<std::string> lines;
  for (const auto& box : os.MessageBoxes()) {
    lines.push_back(box.text + " / " + box.caption + " / " + (box.owner != 0 ? "main window" : "no owner"));
  }
  return lines;
}

double Difference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
  if (a.size() != b.size() || a.empty()) return 1.0;
  size_t differ = 0;
  for (size_t i = 0; i < a.size(); i += 4) {
    for (size_t c = 0; c < 3; ++c) {
      if (std::abs(static_cast<int>(a[i + c]) - static_cast<int>(b[i + c])) > 4) {
        ++differ;
        break;
      }
    }
  }
  return static_cast<double>(differ) / static_cast<double>(a.size() / 4);
}

std::function<int32_t(uint64_t)> Visit(std::vector<int32_t> times) {
  return [times = std::move(times)](uint64_t i) { return times[std::min<size_t>(i, times.size() - 1)]; };
}

}  // namespace e2e
