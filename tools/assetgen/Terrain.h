// Terrain art: the four height-band layer pictures, painted over the island
#pragma once

#include "Island.h"
#include "Picture.h"

namespace assetgen {

// 256 x 256 each, texel for texel over the island's heightmap, low band to high: the coast
// (sea, surf, beaches), the green land (meadows, woods, scree, the tarn), rock, and snow. Each
// paints its band's material for the spot beneath it, shaded by the hill shade, and brighter
// where the terrain's baked light is dim (it lets through at most 155/255 of a texel).
Picture MakeCoastLayer(const Island& island);
Picture MakeGreenLayer(const Island& island);
Picture MakeRockLayer(const Island& island);
Picture MakeSnowLayer(const Island& island);

}  // namespace assetgen
