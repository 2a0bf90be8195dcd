// Terrain art: heightmap composition and the four layer pictures (see Terrain.h)
//
// The world is 409.6 units wide but only 15 units high at byte 255, so the relief is drawn bold: full range,
// steep ridges, a deep basin, to survive that flattening.
#include "Terrain.h"

#include <algorithm>
#include <cmath>

#include "Noise.h"

namespace assetgen {

namespace {

constexpr int kSize = 256;

double Distance(double ax, double ay, double bx, double by) { return std::hypot(ax - bx, ay - by); }

struct Point {
  double x, y;
};

double SegmentDistance(double u, double v, Point a, Point b) {
  double dx = b.x - a.x, dy = b.y - a.y;
  double t = Clamp01(((u - a.x) * dx + (v - a.y) * dy) / (dx * dx + dy * dy));
  return Distance(u, v, a.x + t * dx, a.y + t * dy);
}

template <size_t N>
double PathDistance(double u, double v, const Point (&path)[N]) {
  double best = 1e9;
  for (size_t i = 0; i + 1 < N; ++i) best = std::min(best, SegmentDistance(u, v, path[i], path[i + 1]));
  return best;
}

// Map coordinates: u east, v south (row 0 of the picture is the terrain's far edge). The flight
// circles over the south-west (around u 0.12, v 0.72), so the lake, the river and the nearer
// slopes of the range lie within its view.
const Point kMainRange[] = {{-0.05, 0.40}, {0.22, 0.36}, {0.48, 0.30}, {0.74, 0.17}, {1.05, 0.08}};
const Point kEastRange[] = {{0.60, 0.27}, {0.78, 0.52}, {0.90, 0.80}, {1.05, 1.0}};

// Distance to a river whose course x(v) wanders with noise between the rows vFrom and vTo.
double RiverDistance(double u, double v, double x0, double wander, uint32_t seed, double vFrom, double vTo) {
  double vc = std::clamp(v, vFrom, vTo);
  double x = x0 + wander * Fbm(0.37, vc * 1.4, 3, 3, seed, false);
  return std::hypot(u - x, v - vc);
}

double RawHeight(double u, double v) {
  double wx = u + 0.06 * Fbm(u, v, 3, 4, 11, false);
  double wy = v + 0.06 * Fbm(u, v, 3, 4, 12, false);

  double range = std::min(PathDistance(wx, wy, kMainRange), 1.2 * PathDistance(wx, wy, kEastRange));
  double core = Smoothstep(0.24, 0.03, range);
  double ridges = Ridged(wx, wy, 5, 6, 31, false);
  double mountains = core * (0.15 + 0.60 * std::pow(ridges, 1.4)) + 0.18 * core * core;
  double hilly = 0.5 + 0.5 * Fbm(wx, wy, 6, 5, 41, false);
  double foothills = Smoothstep(0.42, 0.12, range) * 0.20 * hilly;
  // Rolling downs in the south-east, away from the range.
  foothills += Smoothstep(0.45, 0.85, u + v * 0.6) * 0.10 * Ridged(wx, wy, 4, 4, 42, false);
  double plains = 0.30 + 0.045 * Fbm(u, v, 7, 3, 51, false);
  double h = plains + foothills + mountains;

  // The lake: an irregular basin down to the lowest ground.
  double lx = u + 0.07 * Fbm(u, v, 4, 3, 61, false), ly = v + 0.07 * Fbm(u, v, 4, 3, 62, false);
  double d = Distance(lx * 1.15, ly, 0.34 * 1.15, 0.64) / 0.12;
  h = Lerp(h, std::min(h, 0.02 + 0.12 * d * d), Smoothstep(1.7, 0.6, d));
  // A tarn in the range's lee.
  double tarn = Distance(lx, ly, 0.58, 0.50) / 0.05;
  h = Lerp(h, std::min(h, 0.20 + 0.08 * tarn), Smoothstep(1.4, 0.5, tarn));

  // Rivers: one runs out of the lake to the southern edge, one comes down from the range into it.
  double outflow = RiverDistance(u, v, 0.36, 0.10, 71, 0.66, 1.1);
  h = Lerp(h, std::min(h, 0.07 + 2.0 * outflow), Smoothstep(0.07, 0.0, outflow));
  double inflow = RiverDistance(u, v, 0.27, 0.08, 72, 0.34, 0.62);
  h = Lerp(h, std::min(h, 0.12 + 1.8 * inflow), Smoothstep(0.06, 0.0, inflow));
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
      Rgb dry{0.98, 0.90, 0.68}, wet{0.80, 0.68, 0.48};
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
      Rgb lush{0.34, 0.66, 0.20}, dry{0.72, 0.74, 0.34}, dark{0.16, 0.40, 0.13};
      Rgb c = Mix(lush, dry, Smoothstep(0.5, 0.8, meadow));
      // Copses of darker green and a few bare, earthy patches.
      double copse = Smoothstep(0.62, 0.72, 0.5 + 0.5 * Fbm(u, v, 6, 4, 204));
      c = Mix(c, dark, 0.7 * copse);
      double bare = Smoothstep(0.70, 0.78, 0.5 + 0.5 * Fbm(u, v, 8, 3, 205));
      c = Mix(c, Rgb{0.45, 0.38, 0.24}, 0.6 * bare);
      c = c * (0.75 + 0.35 * clumps) * (0.9 + 0.2 * blade);
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
      // Crevices: the zero lines of warped noise, thin and branching like weathered joints.
      double wu = u + 0.03 * Fbm(u, v, 4, 3, 301), wv = v + 0.03 * Fbm(u, v, 4, 3, 302);
      double crevice = Smoothstep(0.0, 0.08, std::fabs(Fbm(wu, wv, 6, 3, 303)));
      double strata = 0.5 + 0.5 * std::sin(6.2831853 * (10 * v + 1.5 * Fbm(u, v, 3, 3, 304)));
      double boulders = 0.5 + 0.5 * Fbm(u, v, 12, 4, 305);
      double grit = Hash01(x, y, 306) - 0.5;
      Rgb grey{0.74, 0.72, 0.69}, ochre{0.78, 0.64, 0.48}, dark{0.45, 0.43, 0.42};
      Rgb c = Mix(grey, ochre, Smoothstep(0.35, 0.75, 0.5 + 0.5 * Fbm(u, v, 3, 4, 307)));
      c = Mix(dark, c, 0.55 + 0.45 * boulders);
      double shade = (0.72 + 0.28 * crevice) * (0.92 + 0.12 * strata) * (1.0 + 0.14 * grit);
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
