// Scenery art: sky, stone, particle glow, torus pattern, backdrop, tunnel tiles (see Scenery.h).
// Depends on: Noise.h, Picture.h.
#include "Scenery.h"

#include <algorithm>
#include <cmath>

#include "Noise.h"

namespace assetgen {

namespace {

constexpr double kTau = 6.283185307179586;

Rgb Clamp(Rgb c) { return {Clamp01(c.r), Clamp01(c.g), Clamp01(c.b)}; }

double CloudDensity(double u, double depth) { return Fbm(u, depth, 4, 6, 501, true, 0.55); }

// The stone floor's average colour: the ground below the horizon fades into it, so the side
// faces meet the bottom face without a hard line.
const Rgb kGroundFar{0.43, 0.40, 0.37};

Rgb SkyAbove(double u, double p) {
  const Rgb zenith{0.17, 0.36, 0.76}, horizon{0.74, 0.82, 0.92};
  const Rgb cloudLit{1.0, 0.99, 0.96}, cloudShade{0.56, 0.60, 0.72};
  Rgb sky = Mix(horizon, zenith, std::pow(p, 0.6));
  // Clouds further off (near the horizon) are squeezed together, as in perspective.
  double depth = 0.30 / (p + 0.10);
  double d = CloudDensity(u, depth);
  double above = CloudDensity(u, depth - 0.03);
  double cover = Smoothstep(0.04, 0.40, d) * Smoothstep(0.0, 0.12, p);
  double lit = Clamp01(0.6 + 4.0 * (d - above));  // thinner above: the sun side
  Rgb c = Mix(sky, Mix(cloudShade, cloudLit, lit), cover * 0.95);
  // Far mountains standing on the horizon, blue with distance.
  double ridge = 0.025 + 0.11 * Ridged(u, 0.37, 5, 5, 511);
  if (p < ridge) c = Mix(Rgb{0.46, 0.54, 0.68}, horizon, 0.35 + 0.5 * p / ridge);
  return c;
}

// Periodic noise whose features shrink with distance like ground seen in perspective: octave
// fields at fixed whole frequencies (so every one repeats round the box) are cross-faded by
// the distance, as mipmaps would be.
double GroundNoise(double u, double distance, uint32_t seed) {
  double level = std::clamp(std::log2(distance * 2.0), 0.0, 3.0);
  int lower = std::min(2, static_cast<int>(level));
  double mix = level - lower;
  auto field = [&](int k) {
    int f = 4 << k;
    return Fbm(u, distance * f / 8.0, f, 4, seed + 17 * k, true);
  };
  return Lerp(field(lower), field(lower + 1), mix);
}

Rgb GroundBelow(double u, double q) {
  const Rgb haze{0.70, 0.77, 0.86};
  double distance = 0.5 / (q + 0.03);
  double fields = 0.5 + 0.5 * GroundNoise(u, distance, 521);
  double woods = Smoothstep(0.55, 0.68, 0.5 + 0.5 * GroundNoise(u, distance, 561));
  Rgb land = Mix(Rgb{0.40, 0.50, 0.28}, Rgb{0.62, 0.57, 0.40}, fields);
  land = Mix(land, Rgb{0.18, 0.30, 0.18}, woods * 0.8);
  Rgb c = Mix(land, haze, std::exp(-q * 5.0));
  return Mix(c, kGroundFar, Smoothstep(0.55, 1.0, q));
}

}  // namespace

Picture MakeSky() {
  constexpr int n = 512;
  Picture p(n, n);
  for (int y = 0; y < n; ++y) {
    // Position on a side face: +1 at its top edge (45 degrees up), 0 at the horizon, -1 at its
    // foot. The box maps each face's middle row to the viewer's horizon.
    double level = 1.0 - 2.0 * (y + 0.5) / n;
    for (int x = 0; x < n; ++x) {
      double u = double(x) / n;
      Rgb c = level >= 0 ? SkyAbove(u, level) : GroundBelow(u, -level);
      p.At(x, y) = Clamp(c);
    }
  }
  return p;
}

Picture MakeStone() {
  constexpr int n = 256;
  Picture p(n, n);
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      double u = double(x) / n, v = double(y) / n;
      Cells c = Worley(u, v, 7, 601);
      double mortar = Smoothstep(0.04, 0.12, c.f2 - c.f1);
      double dome = 1.0 - 0.45 * c.f1 * c.f1;
      double grain = 0.5 + 0.5 * Fbm(u, v, 16, 3, 602);
      Rgb stone = Mix(Rgb{0.42, 0.40, 0.38}, Rgb{0.55, 0.48, 0.40}, c.id);
      stone = Mix(stone, Rgb{0.30, 0.36, 0.24}, 0.35 * Smoothstep(0.6, 0.9, grain));  // moss
      Rgb joint{0.12, 0.11, 0.10};
      p.At(x, y) = Clamp(Mix(joint, stone * (dome * (0.8 + 0.3 * grain)), mortar));
    }
  }
  return p;
}

Picture MakeParticleGlow() {
  constexpr int n = 64;
  Picture p(n, n);
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      double r = std::hypot(x + 0.5 - n / 2.0, y + 0.5 - n / 2.0) / (n / 2.0);
      double glow = std::exp(-r * r * 3.2) * Smoothstep(1.0, 0.82, r);
      double core = std::exp(-r * r * 30.0);
      double i = glow + 0.6 * core;
      p.At(x, y) = Clamp(Rgb{1.0, 0.96, 0.88} * i);
    }
  }
  return p;
}

Picture MakeTorusPattern() {
  constexpr int n = 256;
  Picture p(n, n);
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      double u = double(x) / n, v = double(y) / n;
      Cells c = Worley(u, v, 6, 701);
      double seam = c.f2 - c.f1;
      double plate = Smoothstep(0.03, 0.09, seam);
      double bevel = Clamp01(1.15 - 0.9 * c.f1);
      Rgb cool{0.10, 0.35, 0.65}, warm{0.95, 0.70, 0.25};
      Rgb base = Mix(cool, warm, Smoothstep(0.3, 0.8, c.id));
      double sheen = 0.85 + 0.15 * Fbm(u, v, 12, 2, 702);
      Rgb glow{0.55, 1.0, 0.95};
      Rgb col = Mix(glow * Smoothstep(0.0, 0.03, 0.06 - seam + 0.03), base * bevel * sheen, plate);
      p.At(x, y) = Clamp(col);
    }
  }
  return p;
}

Picture MakeBackdrop() {
  constexpr int n = 512;
  Picture p(n, n);
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      double dx = (x + 0.5) / n * 2 - 1, dy = (y + 0.5) / n * 2 - 1;
      double r = std::hypot(dx, dy), a = std::atan2(dy, dx);
      double u = double(x) / n, v = double(y) / n;
      double cloud = 0.5 + 0.5 * Fbm(u, v, 4, 6, 801);
      double arms = 0.5 + 0.5 * std::cos(2 * (a - 3.2 * std::log(r + 0.05)) + 2.5 * (cloud - 0.5));
      arms = std::pow(arms, 2.5) * std::exp(-r * 2.6) * Smoothstep(0.0, 0.12, r);
      double core = std::exp(-r * r * 40);
      Rgb space{0.02, 0.02, 0.07};
      Rgb nebula = Mix(Rgb{0.45, 0.15, 0.60}, Rgb{0.10, 0.45, 0.85}, Smoothstep(0.3, 0.7, cloud));
      Rgb c = space + nebula * (1.6 * arms) + Rgb{1.0, 0.85, 0.6} * core;
      c = c + Rgb{0.25, 0.10, 0.35} * (0.35 * cloud * cloud * Smoothstep(1.2, 0.3, r));
      double star = Hash01(x, y, 802);
      if (star > 0.996) c = c + Rgb{1, 1, 1} * ((star - 0.996) / 0.004);
      p.At(x, y) = Clamp(c);
    }
  }
  return p;
}

Picture MakeTunnelMetal() {
  constexpr int n = 256;
  Picture p(n, n);
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      double u = (x + 0.5) / n, v = (y + 0.5) / n;
      double edge = std::min({u, 1 - u, v, 1 - v});
      double frame = Smoothstep(0.03, 0.06, edge);
      double brushed = 0.5 + 0.5 * Fbm(u * 0.25, v, 32, 2, 901);
      Rgb metal = Rgb{0.42, 0.46, 0.52} * (0.8 + 0.3 * brushed);
      Rgb c = Mix(Rgb{0.18, 0.20, 0.24}, metal, frame);
      // Bevel: lit upper-left rim, dark lower-right.
      if (edge < 0.06 && edge > 0.02) c = c * (u < v ? 1.25 : 0.75);
      // A light strip across the tile: rings of light when the tiles line the tunnel.
      double strip = std::fabs(v - 0.5);
      c = Mix(c, Rgb{0.15, 0.16, 0.18}, Smoothstep(0.09, 0.07, strip));
      c = c + Rgb{0.30, 0.85, 1.0} * (Smoothstep(0.05, 0.0, strip) + 0.4 * std::exp(-strip * 40));
      // Rivets near the corners.
      for (double cx : {0.12, 0.88}) {
        for (double cy : {0.12, 0.88}) {
          double rr = std::hypot(u - cx, v - cy);
          if (rr < 0.03) c = Rgb{0.75, 0.77, 0.80} * (1.2 - 10 * rr);
        }
      }
      p.At(x, y) = Clamp(c);
    }
  }
  return p;
}

Picture MakeTunnelLava() {
  constexpr int n = 256;
  Picture p(n, n);
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      double u = double(x) / n, v = double(y) / n;
      double wu = u + 0.04 * Fbm(u, v, 4, 3, 1001), wv = v + 0.04 * Fbm(u, v, 4, 3, 1002);
      Cells c = Worley(wu, wv, 5, 1003);
      double crack = c.f2 - c.f1;
      double heat = std::exp(-crack * 18.0);
      double rock = 0.5 + 0.5 * Fbm(u, v, 8, 4, 1004);
      Rgb basalt = Mix(Rgb{0.10, 0.07, 0.08}, Rgb{0.28, 0.20, 0.18}, rock) * (1.0 - 0.4 * c.f1);
      Rgb fire = Mix(Rgb{0.9, 0.15, 0.02}, Rgb{1.0, 0.85, 0.3}, Smoothstep(0.5, 1.0, heat));
      p.At(x, y) = Clamp(Mix(basalt, fire, Smoothstep(0.15, 0.6, heat)));
    }
  }
  return p;
}

}  // namespace assetgen
