// Console panel art (see Console.h)
#include "Console.h"

#include <algorithm>
#include <cmath>

#include "Glyphs.h"
#include "Noise.h"

namespace assetgen {

namespace {

constexpr int kSize = 512;

// Signed distance (pixels) to a rounded rectangle; negative inside.
double RoundedBox(double x, double y, double x0, double y0, double x1, double y1, double radius) {
  double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  double hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
  double qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
  double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
  return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

// Ridge line of the vignette's mountains, in pixels from the top, for layer k (0 = farthest).
double Ridge(double x, int k) {
  double u = x / kSize;
  double base = 125 + 20 * k;
  return base - (45 - 10 * k) * Ridged(u + 0.3 * k, 0.5 * k, 2 + k, 5, 1100 + k, false);
}

Rgb Vignette(double x, double y) {
  const double top = 30, bottom = 190;
  double t = Clamp01((y - top) / (bottom - top));
  Rgb sky = Mix(Rgb{0.20, 0.28, 0.62}, Rgb{0.98, 0.62, 0.35}, std::pow(t, 1.3));
  double sun = std::hypot(x - 330, y - 118);
  sky = sky + Rgb{1.0, 0.85, 0.55} * (std::exp(-sun / 22.0) * 0.9);
  if (sun < 26) sky = Mix(sky, Rgb{1.0, 0.95, 0.8}, Smoothstep(26, 22, sun));
  const Rgb layers[3] = {{0.42, 0.38, 0.62}, {0.28, 0.24, 0.46}, {0.13, 0.12, 0.25}};
  Rgb c = sky;
  for (int k = 0; k < 3; ++k) {
    if (y > Ridge(x, k)) c = layers[k];
  }
  return c;
}

}  // namespace

bool MakeConsolePanel(Picture& panel) {
  panel = Picture(kSize, kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      double px = x + 0.5, py = y + 0.5;
      double plate = RoundedBox(px, py, 10, 10, kSize - 10, kSize - 10, 36);
      double window = RoundedBox(px, py, 48, 30, kSize - 30, 190, 18);
      double grain = Fbm(px / kSize * 0.2, py / kSize, 64, 2, 1200);
      Rgb c = Mix(Rgb{0.80, 0.85, 0.92}, Rgb{0.93, 0.94, 0.96}, py / kSize) * (0.98 + 0.03 * grain);
      if (window < 0) c = Vignette(px, py);
      // Dark frame around the vignette, bevelled rim round the plate.
      c = Mix(c, Rgb{0.12, 0.16, 0.30}, Smoothstep(3, 0.5, std::fabs(window + 1)));
      double rim = -plate;
      if (rim < 8) c = Mix(Rgb{0.20, 0.30, 0.52}, c, Smoothstep(3, 8, rim));
      c = c * (rim < 3 ? 0.7 : 1.0);
      double coverage = Smoothstep(0.5, -0.5, plate);
      panel.At(x, y) = c * coverage;
      panel.AlphaAt(x, y) = coverage * 0.92;
    }
  }
  Typeface title;
  if (!title.Open(kSansBoldFont)) return false;
  title.SetSize(34, 30);
  DrawText(panel, title, "BRUMLYS' LANDSCAPE", 258, 234, Rgb{0.5, 0.55, 0.65}, 0.6, true);
  DrawText(panel, title, "BRUMLYS' LANDSCAPE", 256, 232, Rgb{0.10, 0.16, 0.34}, 1.0, true);
  // A thin accent line under the title and another marking the foot of the plate.
  for (int x = 90; x < kSize - 60; ++x) {
    panel.At(x, 244) = Rgb{0.85, 0.45, 0.20};
    panel.At(x, 245) = Rgb{0.85, 0.45, 0.20};
  }
  Typeface small;
  if (!small.Open(kSansBoldFont)) return false;
  small.SetSize(14, 14);
  DrawText(panel, small, "Frostmoot 2002", kSize - 40.0 - 110, kSize - 30, Rgb{0.35, 0.42, 0.58}, 1.0, false);
  return true;
}

}  // namespace assetgen
