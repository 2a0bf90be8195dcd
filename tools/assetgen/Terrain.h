// Terrain art: the heightmap and the four height-band layer pictures
#pragma once

#include "Picture.h"

namespace assetgen {

// 256 x 256 heights in 0..1 (0 and 1 both reached): a basin with a lake floor, plains, river
// valleys and a ridged mountain range. Row 0 is the first row the terrain reads (z = 0).
GreyMap MakeHeightmap();

// The layers, 256 x 256 and tileable, low to high: shore sand, grass, rock, snow. Painted
// bright: the terrain's baked light lets through at most 155/255 of a texel.
Picture MakeSandLayer();
Picture MakeGrassLayer();
Picture MakeRockLayer();
Picture MakeSnowLayer();

}  // namespace assetgen
