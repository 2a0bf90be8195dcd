// TextureSynthesis: the terrain texture blended from five layer pictures by height
#include <vector>

#include "terrain/Terrain.h"
#include "terrain/internal/HeightTools.h"

namespace {

constexpr int kLayerCount = 5;
constexpr int kLayerSpacing = 64;  // heights between the centres of neighbouring layers

}  // namespace

bool Terrain::SynthesizeTexture(const std::string layerPaths[5], const unsigned char* heights, int width,
                                int height, const ShowMessageBox& showMessage) {
  if (heights == nullptr || width <= 0 || height <= 0) return false;
  Image layers[kLayerCount];
  for (int k : {0, 2, 1, 3, 4}) layers[k].LoadBitmap(layerPaths[k], showMessage);
  return ComposeTexture(layers, heights, width, height);
}

bool Terrain::ComposeTexture(const Image (&layers)[5], const unsigned char* heights, int width, int height) {
  if (heights == nullptr || width <= 0 || height <= 0) return false;

  std::vector<float> weights(static_cast<size_t>(kLayerCount) * 256);
  BuildLayerWeights(kLayerSpacing, weights.data());

  const size_t texels = static_cast<size_t>(width) * height;
  // Layers are read at the output texel's byte position; one without that many
  // 24-bit pixels (missing, unreadable, too small, another depth) is left out: black.
  const unsigned char* pixels[kLayerCount] = {};
  for (int k = 0; k < kLayerCount; ++k) {
    const Image& layer = layers[k];
    if (layer.Bits() == 24 && layer.Size() >= texels * 3) pixels[k] = layer.Pixels();
  }

  Image output(static_cast<uint32_t>(width), static_cast<uint32_t>(height), 24);
  unsigned char* out = output.Pixels();
  for (size_t texel = 0; texel < texels; ++texel) {
    const int h = heights[texel];
    const size_t o = texel * 3;
    // Weights are multiples of 1/64 and bytes at most 255, so double sums are exact.
    double v[3] = {0.0, 0.0, 0.0};
    for (int k = 0; k < kLayerCount; ++k) {
      const float w = weights[static_cast<size_t>(k) * 256 + static_cast<size_t>(h)];
      if (pixels[k] == nullptr || w == 0.0f) continue;
      for (int j = 0; j < 3; ++j) v[j] += pixels[k][o + static_cast<size_t>(j)] * static_cast<double>(w);
    }
    // Layers are blue-green-red; the output is red-first.
    out[o] = static_cast<unsigned char>(static_cast<long long>(v[2]));
    out[o + 1] = static_cast<unsigned char>(static_cast<long long>(v[1]));
    out[o + 2] = static_cast<unsigned char>(static_cast<long long>(v[0]));
  }
  output.SwapRedBlue();
  output.Save("data/texture_map.bmp");
  output.SwapRedBlue();
  return texture_.UploadImage(&output);
}
