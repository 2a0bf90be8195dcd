// Picture: the in-memory images the generator paints into before a writer stores them
//
// Rows run from the top of the picture down; channels are floats in 0..1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace assetgen {

struct Rgb {
  double r = 0, g = 0, b = 0;
};

inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator*(Rgb a, double k) { return {a.r * k, a.g * k, a.b * k}; }
inline Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
inline Rgb Mix(Rgb a, Rgb b, double t) { return a * (1 - t) + b * t; }

// Colour picture with an alpha channel (1 = opaque) for the formats that keep one.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> colour;
  std::vector<double> alpha;

  Picture() = default;
  Picture(int w, int h) : width(w), height(h), colour(size_t(w) * h), alpha(size_t(w) * h, 1.0) {}
  Rgb& At(int x, int y) { return colour[size_t(y) * width + x]; }
  const Rgb& At(int x, int y) const { return colour[size_t(y) * width + x]; }
  double& AlphaAt(int x, int y) { return alpha[size_t(y) * width + x]; }
};

// Single-channel picture (heights, coverage), values in 0..1 unless stated otherwise.
struct GreyMap {
  int width = 0;
  int height = 0;
  std::vector<double> value;

  GreyMap() = default;
  GreyMap(int w, int h) : width(w), height(h), value(size_t(w) * h) {}
  double& At(int x, int y) { return value[size_t(y) * width + x]; }
  double At(int x, int y) const { return value[size_t(y) * width + x]; }
};

// 0..1 to a byte, rounded, clamped.
uint8_t ToByte(double v);

}  // namespace assetgen
