// Console panel art (see Console.h)
#include "Console.h"

#include <algorithm>
#include <cmath>

#include "Glyphs.h"
#include "Noise.h"

namespace assetgen {

namespace {

constexpr int kSize = 512;

// At rest the scrollers' panel stands 20 x 20 units at depth 30 under a view 24.9 units high
// and 18.6 wide (the projection takes height over width), centred 1 unit left and 6 up: the
// screen shows the picture from x = 43 and y = 91 (pixels from its top left) to its right and
// bottom edges. Everything is laid out inside that, with a margin.
struct Box {
  double x0, y0, x1, y1;
};
constexpr Box kPlate{58, 104, kSize - 12, kSize - 12};
constexpr Box kWindow{84, 122, kSize - 38, 208};
constexpr double kTitleBaseline = 245;

// Signed distance (pixels) to a rounded rectangle; negative inside.
double RoundedBox(double x, double y, Box box, double radius) {
  double cx = (box.x0 + box.x1) / 2, cy = (box.y0 + box.y1) / 2;
  double hx = (box.x1 - box.x0) / 2 - radius, hy = (box.y1 - box.y0) / 2 - radius;
  double qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
  double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
  return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

// Ridge line of the vignette's mountains, 0 at the window's top and 1 at its foot, for layer k
// (0 = farthest).
double Ridge(double u, int k) {
  double base = 0.58 + 0.13 * k;
  return base - (0.28 - 0.06 * k) * Ridged(u + 0.3 * k, 0.5 * k, 2 + k, 5, 1100 + k, false);
}

// A dusk landscape in the window: sky from blue to orange, a low sun, three ranges of hills.
Rgb Vignette(double x, double y) {
  double u = (x - kWindow.x0) / (kWindow.x1 - kWindow.x0),
         t = Clamp01((y - kWindow.y0) / (kWindow.y1 - kWindow.y0));
  Rgb sky = Mix(Rgb{0.20, 0.28, 0.62}, Rgb{0.98, 0.62, 0.35}, std::pow(t, 1.3));
  double sun = std::hypot(x - (kWindow.x0 + 0.66 * (kWindow.x1 - kWindow.x0)),
                          y - (kWindow.y0 + 0.55 * (kWindow.y1 - kWindow.y0)));
  sky = sky + Rgb{1.0, 0.85, 0.55} * (std::exp(-sun / 16.0) * 0.9);
  if (sun < 17) sky = Mix(sky, Rgb{1.0, 0.95, 0.8}, Smoothstep(17, 14, sun));
  const Rgb layers[3] = {{0.42, 0.38, 0.62}, {0.28, 0.24, 0.46}, {0.13, 0.12, 0.25}};
  Rgb c = sky;
  for (int k = 0; k < 3; ++k) {
    if (t > Ridge(u, k)) c = layers[k];
  }
  return c;
}

}  // namespace

bool MakeConsolePanel(Picture& panel) {
  panel = Picture(kSize, kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      double px = x + 0.5, py = y + 0.5;
      double plate = RoundedBox(px, py, kPlate, 28);
      double window = RoundedBox(px, py, kWindow, 14);
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
  title.SetSize(30, 28);
  double middle = (kPlate.x0 + kPlate.x1) / 2;
  DrawText(panel, title, "BRUMLYS' LANDSCAPE", middle + 2, int(kTitleBaseline) + 2, Rgb{0.5, 0.55, 0.65}, 0.6,
           true);
  DrawText(panel, title, "BRUMLYS' LANDSCAPE", middle, int(kTitleBaseline), Rgb{0.10, 0.16, 0.34}, 1.0, true);
  // A thin accent line under the title, clear of the lane where the scrolling text runs.
  for (int x = int(kWindow.x0) + 20; x < int(kWindow.x1) - 20; ++x) {
    panel.At(x, int(kTitleBaseline) + 7) = Rgb{0.85, 0.45, 0.20};
    panel.At(x, int(kTitleBaseline) + 8) = Rgb{0.85, 0.45, 0.20};
  }
  Typeface small;
  if (!small.Open(kSansBoldFont)) return false;
  small.SetSize(14, 14);
  DrawText(panel, small, "Frostmoot 2002", kPlate.x1 - 36 - 110, int(kPlate.y1) - 24, Rgb{0.35, 0.42, 0.58},
           1.0, false);
  return true;
}

}  // namespace assetgen
