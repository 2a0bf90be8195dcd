// Noise: SplitMix64, lattice hashing, gradient/fractal/cellular noise (see Noise.h)
#include "Noise.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

uint64_t Rng::Next() {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double Rng::Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }

double Rng::Range(double low, double high) { return low + (high - low) * Uniform(); }

int Rng::Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<uint64_t>(n)); }

namespace {

uint32_t HashPoint(int x, int y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B1u;
  h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<uint32_t>(y) * 0xC2B2AE35u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

int Wrap(int i, int period) {
  if (period <= 0) return i;
  int m = i % period;
  return m < 0 ? m + period : m;
}

double Fade(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }

// 16 evenly spread unit gradients (every 22.5 degrees): enough to hide the lattice's axes,
// and a table instead of a cosine and sine per corner.
constexpr double kC1 = 0.9238795325112867, kC2 = 0.7071067811865476, kC3 = 0.3826834323650898;
constexpr double kGradients[16][2] = {
    {1, 0},  {kC1, kC3},   {kC2, kC2},   {kC3, kC1},   {0, 1},  {-kC3, kC1}, {-kC2, kC2}, {-kC1, kC3},
    {-1, 0}, {-kC1, -kC3}, {-kC2, -kC2}, {-kC3, -kC1}, {0, -1}, {kC3, -kC1}, {kC2, -kC2}, {kC1, -kC3}};

double Corner(int ix, int iy, double dx, double dy, uint32_t seed) {
  const double* g = kGradients[HashPoint(ix, iy, seed) >> 28];
  return g[0] * dx + g[1] * dy;
}

}  // namespace

double Hash01(int x, int y, uint32_t seed) { return HashPoint(x, y, seed) * (1.0 / 4294967296.0); }

double Gradient(double x, double y, int period, uint32_t seed) {
  double fx = static_cast<double>(static_cast<long long>(x)),
         fy = static_cast<double>(static_cast<long long>(y));
  if (fx > x) fx -= 1;
  if (fy > y) fy -= 1;
  int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
  double dx = x - fx, dy = y - fy;
  int xa = Wrap(x0, period), xb = Wrap(x0 + 1, period);
  int ya = Wrap(y0, period), yb = Wrap(y0 + 1, period);
  double n00 = Corner(xa, ya, dx, dy, seed);
  double n10 = Corner(xb, ya, dx - 1, dy, seed);
  double n01 = Corner(xa, yb, dx, dy - 1, seed);
  double n11 = Corner(xb, yb, dx - 1, dy - 1, seed);
  double u = Fade(dx), v = Fade(dy);
  // Scaled so the field's extremes come close to +-1.
  return 1.41421356 * Lerp(Lerp(n00, n10, u), Lerp(n01, n11, u), v);
}

double Fbm(double u, double v, int frequency, int octaves, uint32_t seed, bool tile, double gain) {
  double sum = 0, amplitude = 1, norm = 0;
  int f = frequency;
  for (int o = 0; o < octaves; ++o) {
    sum += amplitude * Gradient(u * f, v * f, tile ? f : 0, seed + 101u * o);
    norm += amplitude;
    amplitude *= gain;
    f *= 2;
  }
  return sum / norm;
}

double Ridged(double u, double v, int frequency, int octaves, uint32_t seed, bool tile) {
  double sum = 0, amplitude = 1, norm = 0, weight = 1;
  int f = frequency;
  for (int o = 0; o < octaves; ++o) {
    double n = 1.0 - std::fabs(Gradient(u * f, v * f, tile ? f : 0, seed + 131u * o));
    n *= n;
    // Finer octaves show mostly on the crests, as erosion would leave them.
    sum += amplitude * n * weight;
    norm += amplitude;
    weight = Clamp01(n * 1.5);
    amplitude *= 0.5;
    f *= 2;
  }
  return sum / norm;
}

Cells Worley(double u, double v, int frequency, uint32_t seed, bool tile) {
  double x = u * frequency, y = v * frequency;
  int cx = static_cast<int>(std::floor(x)), cy = static_cast<int>(std::floor(y));
  Cells c{1e9, 1e9, 0};
  for (int j = -1; j <= 1; ++j) {
    for (int i = -1; i <= 1; ++i) {
      int gx = cx + i, gy = cy + j;
      int hx = tile ? Wrap(gx, frequency) : gx, hy = tile ? Wrap(gy, frequency) : gy;
      double px = gx + Hash01(hx, hy, seed), py = gy + Hash01(hx, hy, seed ^ 0x5BD1E995u);
      double d = std::hypot(px - x, py - y);
      if (d < c.f1) {
        c.f2 = c.f1;
        c.f1 = d;
        c.id = Hash01(hx, hy, seed + 7u);
      } else if (d < c.f2) {
        c.f2 = d;
      }
    }
  }
  return c;
}

double Smoothstep(double edge0, double edge1, double x) {
  double t = Clamp01((x - edge0) / (edge1 - edge0));
  return t * t * (3 - 2 * t);
}

double Clamp01(double x) { return std::min(1.0, std::max(0.0, x)); }

double Lerp(double a, double b, double t) { return a + (b - a) * t; }

}  // namespace assetgen
