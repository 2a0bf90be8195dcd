// Terrain art: heightmap composition and the four layer pictures (see Terrain.h).
// Depends on: Noise.h, Picture.h.
// The world is 409.6 units wide but only 15 units high at byte 255, so the relief is drawn
// bold: full range, steep ridges, a deep basin, to survive that flattening.
#include "Terrain.h"

#include <algorithm>
#include <cmath>

#include "Noise.h"

namespace assetgen {

namespace {

constexpr int kSize = 256;

double Distance(double ax, double ay, double bx, double by) { return std::hypot(ax - bx, ay - by); }

// Distance from (u, v) to a river winding down from the basin to the map's edge.
double RiverDistance(double u, double v) {
  double best = 1e9;
  for (int i = 0; i <= 64; ++i) {
    double t = i / 64.0;
    double y = 0.80 + 0.22 * t;
    double x = 0.30 + 0.10 * t + 0.05 * std::sin(t * 11.0);
    best = std::min(best, Distance(u, v, x, y));
  }
  return best;
}

// A pass through the range: a valley from the plains up into the mountains.
double PassDistance(double u, double v) {
  double best = 1e9;
  for (int i = 0; i <= 64; ++i) {
    double t = i / 64.0;
    double x = 0.55 + 0.47 * t;
    double y = 0.50 - 0.30 * t + 0.04 * std::sin(t * 9.0);
    best = std::min(best, Distance(u, v, x, y));
  }
  return best;
}

double RawHeight(double u, double v) {
  double wx = u + 0.05 * Fbm(u, v, 3, 4, 11, false);
  double wy = v + 0.05 * Fbm(u, v, 3, 4, 12, false);

  // The range sweeps along the far side and one flank; the near side is open country.
  double side = 0.75 * (1.0 - wy) + 0.45 * wx + 0.25 * Fbm(wx, wy, 2, 3, 21, false);
  double mountains = Smoothstep(0.62, 0.95, side);
  double ridges = Ridged(wx, wy, 4, 6, 31, false);
  double hills = 0.5 + 0.5 * Fbm(wx, wy, 5, 5, 41, false);
  double plains = 0.34 + 0.04 * Fbm(u, v, 7, 3, 51, false);

  double h = plains + 0.12 * hills * Smoothstep(0.25, 0.7, side);
  h += mountains * (0.10 + 0.62 * std::pow(ridges, 1.4));

  // The basin: a lake floor ringed by a soft shore.
  double edge = 0.04 * Fbm(u, v, 6, 3, 61, false);
  double d = Distance(u, v, 0.30, 0.66) / (0.16 + edge);
  double floor = 0.03 + 0.10 * d * d;
  h = Lerp(h, std::min(h, floor), Smoothstep(1.5, 0.55, d));

  // Valleys: a river out of the basin and a pass up into the range.
  double river = RiverDistance(wx, wy);
  h = Lerp(h, std::min(h, 0.10 + 2.2 * river), Smoothstep(0.09, 0.0, river));
  double pass = PassDistance(wx, wy);
  h = Lerp(h, std::min(h, 0.30 + 1.6 * pass), Smoothstep(0.10, 0.0, pass));
  return h;
}

}  // namespace

GreyMap MakeHeightmap() {
  GreyMap map(kSize, kSize);
  double low = 1e9, high = -1e9;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      double h = RawHeight((x + 0.5) / kSize, (y + 0.5) / kSize);
      map.At(x, y) = h;
      low = std::min(low, h);
      high = std::max(high, h);
    }
  }
  for (double& h : map.value) h = (h - low) / (high - low);
  return map;
}

Picture MakeSandLayer() {
  Picture p(kSize, kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      double u = double(x) / kSize, v = double(y) / kSize;
      double patches = 0.5 + 0.5 * Fbm(u, v, 4, 4, 101);
      double ripple = std::sin(6.2831853 * (8 * v + 1.0 * Fbm(u, v, 3, 3, 102)));
      double grain = Hash01(x, y, 103) - 0.5;
      Rgb dry{0.86, 0.76, 0.55}, wet{0.62, 0.52, 0.36};
      Rgb c = Mix(wet, dry, Smoothstep(0.2, 0.8, patches));
      double shade = 1.0 + 0.06 * ripple + 0.10 * grain;
      if (Hash01(x, y, 104) > 0.985) shade *= 0.7;  // pebbles
      p.At(x, y) = c * shade;
    }
  }
  return p;
}

Picture MakeGrassLayer() {
  Picture p(kSize, kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      double u = double(x) / kSize, v = double(y) / kSize;
      double meadow = 0.5 + 0.5 * Fbm(u, v, 3, 5, 201);
      double clumps = 0.5 + 0.5 * Fbm(u, v, 16, 3, 202);
      double blade = Hash01(x, y, 203);
      Rgb lush{0.20, 0.45, 0.12}, dry{0.50, 0.55, 0.22}, dark{0.10, 0.28, 0.08};
      Rgb c = Mix(lush, dry, Smoothstep(0.55, 0.85, meadow));
      c = Mix(dark, c, 0.55 + 0.45 * clumps);
      c = c * (0.85 + 0.3 * blade);
      double flower = Hash01(x, y, 204);
      if (flower > 0.994)
        c = Rgb{0.95, 0.90, 0.40};
      else if (flower > 0.990)
        c = Rgb{0.85, 0.85, 0.95};
      p.At(x, y) = c;
    }
  }
  return p;
}

Picture MakeRockLayer() {
  Picture p(kSize, kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      double u = double(x) / kSize, v = double(y) / kSize;
      Cells cells = Worley(u, v, 8, 301);
      double crack = Smoothstep(0.0, 0.12, cells.f2 - cells.f1);
      double strata = 0.5 + 0.5 * std::sin(6.2831853 * (12 * v + 2.0 * Fbm(u, v, 2, 3, 302)));
      double grit = Hash01(x, y, 303) - 0.5;
      Rgb grey{0.50, 0.48, 0.46}, brown{0.48, 0.40, 0.32};
      Rgb c = Mix(grey, brown, 0.3 + 0.4 * cells.id);
      double shade = (0.65 + 0.35 * crack) * (0.9 + 0.15 * strata) * (1.0 + 0.12 * grit);
      shade *= 0.85 + 0.3 * (0.5 + 0.5 * Fbm(u, v, 6, 4, 304));
      p.At(x, y) = c * shade;
    }
  }
  return p;
}

Picture MakeSnowLayer() {
  Picture p(kSize, kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      double u = double(x) / kSize, v = double(y) / kSize;
      double drift = 0.5 + 0.5 * Fbm(u, v, 4, 5, 401);
      double sparkle = Hash01(x, y, 402);
      Rgb shadow{0.78, 0.84, 0.95}, lit{0.97, 0.98, 1.0};
      Rgb c = Mix(shadow, lit, Smoothstep(0.25, 0.75, drift));
      if (sparkle > 0.99) c = Rgb{1, 1, 1};
      p.At(x, y) = c * (0.97 + 0.03 * (sparkle - 0.5));
    }
  }
  return p;
}

}  // namespace assetgen
