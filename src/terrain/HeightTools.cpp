// HeightTools: box-filter scaling of height bytes and the layer-weight tents
#include "terrain/internal/HeightTools.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

struct Tap {
  int index;
  double weight;
};

// For each output sample, the source samples its interval overlaps and by how much.
std::vector<std::vector<Tap>> Spans(int in, int out) {
  std::vector<std::vector<Tap>> spans(static_cast<size_t>(out));
  const double step = static_cast<double>(in) / out;
  for (int o = 0; o < out; ++o) {
    const double from = o * step, to = from + step;
    for (int i = static_cast<int>(from); i < in && i < to; ++i) {
      const double overlap = std::min<double>(to, i + 1) - std::max<double>(from, i);
      if (overlap > 0) spans[static_cast<size_t>(o)].push_back({i, overlap});
    }
  }
  return spans;
}

}  // namespace

void ScaleHeights(const unsigned char* heights, int width, int depth, unsigned char* out, int outWidth,
                  int outDepth) {
  if (width == outWidth && depth == outDepth) {
    std::memcpy(out, heights, static_cast<size_t>(width) * depth);
    return;
  }
  const auto columns = Spans(width, outWidth);
  const auto rows = Spans(depth, outDepth);
  const double area = (static_cast<double>(width) / outWidth) * (static_cast<double>(depth) / outDepth);
  for (int oy = 0; oy < outDepth; ++oy) {
    for (int ox = 0; ox < outWidth; ++ox) {
      double sum = 0.0;
      for (const Tap& row : rows[static_cast<size_t>(oy)]) {
        const unsigned char* line = heights + static_cast<size_t>(row.index) * width;
        for (const Tap& column : columns[static_cast<size_t>(ox)])
          sum += line[column.index] * row.weight * column.weight;
      }
      const double value = std::floor(sum / area + 0.5);
      out[static_cast<size_t>(oy) * outWidth + ox] =
          static_cast<unsigned char>(std::clamp(value, 0.0, 255.0));
    }
  }
}

void BuildLayerWeights(int spacing, float* table) {
  if (spacing < 1) return;
  const int rows = 256 / spacing + 1;
  const float step = 1.0f / static_cast<float>(spacing);
  for (int h = 0; h < 256; ++h) {
    for (int k = 0; k < rows; ++k) {
      float w = 1.0f - std::fabs(static_cast<float>(k * spacing - h) * step);
      w = std::clamp(w, 0.0f, 1.0f);
      table[k * 256 + h] = w;
    }
  }
}
