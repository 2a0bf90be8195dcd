// Island: the landscape's heights, and what the layer painters need to know about every spot.
#pragma once

#include <vector>

#include "Picture.h"

namespace assetgen {

// One heightmap sample, which is also one texel of the terrain texture: the terrain maps its
// texture once over the grid, texel (x, y) over sample (x, y).
struct Site {
  double height = 0;  // heightmap byte, 0..255; 0 is the sea
  double slope = 0;   // degrees, at the terrain's true scale (1.6 units a cell, 15/256 a byte)
  double inland = 0;  // cells from the shoreline, negative out at sea
  double hollow = 0;  // bytes below the surrounding ground (positive in valleys and gullies)
  double relief = 1;  // painted hill shade, a factor of about 0.5 .. 1.2
  double light = 1;   // share of a texel the terrain's baked sunlight lets through here
  bool lake = false;  // a lake's water surface
};

struct Island {
  GreyMap heights;          // 0..1, picture rows: row 0 is the terrain's far edge (largest z)
  std::vector<Site> sites;  // same layout
  const Site& At(int x, int y) const { return sites[size_t(y) * heights.width + x]; }
};

// 256 x 256: an island whose south and west coasts run a few cells inside the terrain's edges
// (the sky box floor beyond them is the open sea), with a snowy massif behind them, where the
// flight looks.
Island MakeIsland();

}  // namespace assetgen
