// E2E: the generated run folder, and a few figures of a picture to tell scenes and frames apart
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "support/DemoRun.h"
#include "support/Scratch.h"

namespace e2e {

using testsupport::DemoRun;
using testsupport::PresentedFrame;

inline constexpr int kWidth = 160;  // small frames keep a whole programme to seconds
inline constexpr int kHeight = 120;

// A fresh copy of the generated run folder in the test's scratch folder.
std::filesystem::path CopyRunFolder();

struct Figures {
  double lit = 0.0;              // share of pixels brighter than the black clear colour
  double white = 0.0;            // share of nearly white pixels
  double grey = 0.0;             // share of lit pixels whose channels agree within a few steps
  std::array<double, 3> mean{};  // red, green, blue, 0 to 255
  size_t hash = 0;               // of the whole picture
};
Figures Measure(const std::vector<unsigned char>& rgba);

// Share of pixels that differ from `b` by more than a few steps in any channel.
double Difference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b);

}  // namespace e2e
