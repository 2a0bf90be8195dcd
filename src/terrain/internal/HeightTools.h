// HeightTools: the heightmap scaler and the layer-weight table of the texture synthesis
#pragma once

#include <cstdint>

// Resizes width x depth height bytes (row after row) to outWidth x outDepth with an
// area-averaging box filter in the same row order, rounding to the nearest byte.
// Equal sizes copy exactly.
void ScaleHeights(const unsigned char* heights, int width, int depth, unsigned char* out, int outWidth,
                  int outDepth);

// Fills ((256 / spacing) + 1) rows x 256 floats: the tent weight of row k at height h,
// 1 - |k x spacing - h| / spacing clamped to [0, 1]. Nothing for spacing < 1.
void BuildLayerWeights(int spacing, float* table);
