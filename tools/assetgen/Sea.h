// Sea: the water round the island, shared by the terrain's coast layer and the sky box, so
// that the terrain's sea and the box's meet in one colour at the terrain's edge.
#pragma once

#include "Picture.h"

namespace assetgen {

// The open sea as the screen shows it. The sky box draws its texels unlit, so it paints this
// as it is; the terrain's sea texels are painted brighter, by the inverse of the baked light
// there, to reach it.
inline constexpr Rgb kOpenSea{0.14, 0.30, 0.36};

// Open sea seen from a few hundred metres up, around kOpenSea on average: swell and wind
// streaks along u. (u, v): one unit holds `waves` swell crests across; with tile set the
// pattern repeats with period 1 in both.
Rgb SeaSurface(double u, double v, int waves, bool tile);

// White horses on `sea`, blown along u in gusty patches (same units). Only the sky box has
// them: on the terrain the baked light would grey them.
Rgb WhiteHorses(Rgb sea, double u, double v, int waves, bool tile);

// The clouds' shadows at (u, v): 0 in sunlight, up to 1 in the deepest shadow; soft-edged
// patches some `across` to a unit, covering about a third of the ground. The land, the
// terrain's sea and the sky box's sea all carry them.
double CloudShadow(double u, double v, int across, bool tile);

// The sea brightened by the sun's reflection, with sparkles on the wave facets; strength 0..1.
Rgb Glitter(Rgb sea, double strength, double u, double v, bool tile);

}  // namespace assetgen
