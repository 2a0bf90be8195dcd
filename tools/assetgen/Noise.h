// Noise: the generator's own random numbers and tileable noise fields
//
// Every function is pure (fixed seeds in, same values out on every machine), so the generated files are
// identical from build to build.
#pragma once

#include <cstdint>

namespace assetgen {

// SplitMix64: small, fast and fully specified, unlike std::rand or the distributions.
struct Rng {
  uint64_t state = 0;
  explicit Rng(uint64_t seed) : state(seed) {}
  uint64_t Next();
  double Uniform();                       // [0, 1)
  double Range(double low, double high);  // [low, high)
  int Below(int n);                       // 0 .. n - 1
};

// Hash of a lattice point to [0, 1).
double Hash01(int x, int y, uint32_t seed);

// Gradient noise in about [-1, 1] at (x, y) in lattice units, repeating every `period`
// lattice cells in both directions (period <= 0: no repetition).
double Gradient(double x, double y, int period, uint32_t seed);

// Fractal sum of gradient noise over texture coordinates (u, v): `frequency` cells across one
// tile at the first octave, each further octave twice as fine and `gain` times as strong.
// With tile true the field repeats with period 1 in u and v. Result roughly in [-1, 1].
double Fbm(double u, double v, int frequency, int octaves, uint32_t seed, bool tile = true,
           double gain = 0.5);

// Ridged fractal: sharp crests where the noise crosses zero. Result in [0, 1].
double Ridged(double u, double v, int frequency, int octaves, uint32_t seed, bool tile = true);

// Cellular noise: distances (in cells) to the nearest and second-nearest feature point, and an
// id in [0, 1) of the nearest cell. Repeats with period 1 in (u, v) when tile is set.
struct Cells {
  double f1 = 0;
  double f2 = 0;
  double id = 0;
};
Cells Worley(double u, double v, int frequency, uint32_t seed, bool tile = true);

double Smoothstep(double edge0, double edge1, double x);
double Clamp01(double x);
double Lerp(double a, double b, double t);

}  // namespace assetgen
