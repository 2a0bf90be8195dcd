// E2E: the run folder and the picture figures
#include "Pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

namespace fs = std::filesystem;

namespace e2e {

fs::path CopyRunFolder() {
  const fs::path source = testsupport::RunDir();
  const fs::path target = testsupport::ScratchDir() / "run";
  for (const char* folder : {"data", "textures"}) {
    EXPECT_TRUE(fs::exists(source / folder)) << "no generated data in " << source;
    fs::create_directories(target / folder);
    fs::copy(source / folder, target / folder, fs::copy_options::recursive);
  }
  return target;
}

Figures Measure(const std::vector<unsigned char>& rgba) {
  Figures f;
  size_t lit = 0, white = 0, grey = 0;
  const size_t count = rgba.size() / 4;
  for (size_t i = 0; i < count; ++i) {
    const int r = rgba[4 * i], g = rgba[4 * i + 1], b = rgba[4 * i + 2];
    for (int c = 0; c < 3; ++c) f.mean[c] += rgba[4 * i + c] / static_cast<double>(count);
    if (std::max({r, g, b}) <= 8) continue;
    ++lit;
    white += std::min({r, g, b}) >= 235;
    grey += std::max({r, g, b}) - std::min({r, g, b}) <= 6;
  }
  f.lit = static_cast<double>(lit) / count;
  f.white = static_cast<double>(white) / count;
  f.grey = lit ? static_cast<double>(grey) / lit : 0.0;
  f.hash = std::hash<std::string_view>{}({reinterpret_cast<const char*>(rgba.data()), rgba.size()});
  return f;
}

double Difference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
  if (a.size() != b.size() || a.empty()) return 1.0;
  size_t differ = 0;
  for (size_t i = 0; i < a.size(); i += 4) {
    const auto far = [&](size_t c) { return std::abs(int{a[i + c]} - int{b[i + c]}) > 4; };
    differ += far(0) || far(1) || far(2);
  }
  return static_cast<double>(differ) / static_cast<double>(a.size() / 4);
}

}  // namespace e2e
