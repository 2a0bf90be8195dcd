// Scenery art: sky, stone, particle glow, torus pattern, backdrop, tunnel tiles (see Scenery.h)
#include "Scenery.h"

#include <algorithm>
#include <cmath>

#include "Noise.h"
#include "Sea.h"

namespace assetgen {

namespace {

constexpr double kTau = 6.283185307179586;

Rgb Clamp(Rgb c) { return {Clamp01(c.r), Clamp01(c.g), Clamp01(c.b)}; }

double CloudDensity(double u, double depth) { return Fbm(u, depth, 4, 6, 501, true, 0.55); }

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

// The sea below the horizon, q from 0 at the horizon to 1 at the face's foot. Waves are
// squeezed together with distance, as in perspective, and fade into haze at the horizon.
// How far across the floor the sun glitter reaches: it fades out towards the corners.
double GlitterAcross(double w) { return std::exp(-std::pow((w - 0.5) / 0.6, 2)); }

Rgb SeaBelow(double u, double q) {
  const Rgb haze{0.62, 0.72, 0.82};
  double distance = 0.5 / (q + 0.03);
  // On the west face, the one the flight sees out to sea, u runs from south to north.
  Rgb sea = SeaSurface(OpenSea(Depression(-1, -q, 2 * u - 1)), u * 2, distance, 16, true);
  sea = WhiteHorses(sea, u * 2, distance, 16, true);
  return Mix(sea, haze, std::exp(-q * 10.0));
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
      Rgb c = level >= 0 ? SkyAbove(u, level) : SeaBelow(u, -level);
      p.At(x, y) = Clamp(c);
    }
  }
  // The box's textures repeat, so a face's filtered bottom edge blends in its top row: the
  // top row repeats the bottom one, so the sea meets the floor without a line (the top
  // edge, which takes the line instead, is never in view).
  for (int x = 0; x < n; ++x) p.At(x, 0) = p.At(x, n - 1);
  return p;
}

Picture MakeStone() {
  constexpr int n = 256;
  Picture p(n, n);
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      double u = double(x) / n, v = double(y) / n;
      // Texture s runs from +x to -x across the floor. From the flight's path the terrain's
      // western edge always meets the floor short of s = 0.855 (where the eye's x is 0.71 of
      // its height), so the strip beyond is open sea in every view out west: there the sun
      // glitters. It fades out before the floor's edges, where the side faces take over.
      double glitter = Smoothstep(0.855, 0.90, (x + 0.5) / n) * Smoothstep(1.0, 0.96, (x + 0.5) / n) *
                       GlitterAcross((y + 0.5) / n);
      Rgb sea =
          SeaSurface(OpenSea(Depression(1 - 2 * (x + 0.5) / n, -1, 2 * (y + 0.5) / n - 1)), u, v, 16, true);
      // Calmer in the island's lee, where the floor meets the terrain's own sea.
      double lee = Smoothstep(0.62, 0.70, (x + 0.5) / n) * Smoothstep(0.92, 0.86, (x + 0.5) / n);
      sea = WhiteHorses(sea, u, v, 16, true, 1 - 0.8 * lee);
      p.At(x, y) = Clamp(Glitter(sea, glitter, u, v, true));
    }
    // The western edge (the last column) filters with the first: repeat it there, out of view.
    p.At(0, y) = p.At(n - 1, y);
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
      Rgb metal = Rgb{0.30, 0.40, 0.28} * (0.8 + 0.3 * brushed);
      Rgb c = Mix(Rgb{0.12, 0.16, 0.12}, metal, frame);
      // Bevel: lit upper-left rim, dark lower-right.
      if (edge < 0.06 && edge > 0.02) c = c * (u < v ? 1.25 : 0.75);
      // A light strip across the tile: rings of light when the tiles line the tunnel.
      double strip = std::fabs(v - 0.5);
      c = Mix(c, Rgb{0.10, 0.13, 0.10}, Smoothstep(0.09, 0.07, strip));
      c = c + Rgb{0.70, 1.0, 0.45} * (Smoothstep(0.05, 0.0, strip) + 0.4 * std::exp(-strip * 40));
      // Rivets near the corners.
      for (double cx : {0.12, 0.88}) {
        for (double cy : {0.12, 0.88}) {
          double rr = std::hypot(u - cx, v - cy);
          if (rr < 0.03) c = Rgb{0.90, 0.80, 0.45} * (1.2 - 10 * rr);
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
