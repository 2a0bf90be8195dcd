// FrameStats: luma figures and the box filter.
#include "review/FrameStats.h"

#include <algorithm>
#include <cmath>

namespace review {

Luminance MeasureLuminance(const FrameImage& image) {
  const size_t count = size_t(image.width) * image.height;
  if (count == 0) return {};
  double sum = 0, squares = 0;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* p = &image.rgb[i * 3];
    const double luma = 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
    sum += luma;
    squares += luma * luma;
  }
  const double mean = sum / count;
  return {mean, std::sqrt(std::max(0.0, squares / count - mean * mean))};
}

FrameImage Shrink(const FrameImage& image, int width, int height) {
  FrameImage out(width, height);
  for (int y = 0; y < height; ++y) {
    const int y0 = y * image.height / height, y1 = std::max(y0 + 1, (y + 1) * image.height / height);
    for (int x = 0; x < width; ++x) {
      const int x0 = x * image.width / width, x1 = std::max(x0 + 1, (x + 1) * image.width / width);
      unsigned sum[3] = {0, 0, 0};
      for (int sy = y0; sy < y1; ++sy) {
        for (int sx = x0; sx < x1; ++sx) {
          for (int c = 0; c < 3; ++c) sum[c] += image.At(sx, sy)[c];
        }
      }
      const unsigned n = unsigned(x1 - x0) * unsigned(y1 - y0);
      for (int c = 0; c < 3; ++c) out.At(x, y)[c] = static_cast<uint8_t>((sum[c] + n / 2) / n);
    }
  }
  return out;
}

}  // namespace review
