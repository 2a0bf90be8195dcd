// Sea: the water round the island, shared by the terrain's coast layer and the sky box
//
// Shared so that the terrain's sea and the box's meet in one colour at the terrain's edge.
#pragma once

#include "Picture.h"

namespace assetgen {

// The open sea as the screen shows it, seen `depression` degrees below the horizon: dark
// looking steeply down into it, silvery towards the horizon, where it mirrors the sky. The sky
// box draws its texels unlit, so it paints this as it is; the terrain's sea texels are painted
// brighter, by the inverse of the baked light there, to reach it.
Rgb OpenSea(double depression);

// Degrees below the horizon of the direction (x, y, z), y up.
double Depression(double x, double y, double z);

// Swell and wind streaks along u on `sea`. (u, v): one unit holds `waves` swell crests across;
// with tile set the pattern repeats with period 1 in both.
Rgb SeaSurface(Rgb sea, double u, double v, int waves, bool tile);

// White horses on `sea`, blown along u in gusty patches (same units); `share` 0..1 scales how
// many break. Only the sky box has them: on the terrain the baked light would grey them.
Rgb WhiteHorses(Rgb sea, double u, double v, int waves, bool tile, double share = 1);

// The sea brightened by the sun's reflection, with sparkles on the wave facets; strength 0..1.
Rgb Glitter(Rgb sea, double strength, double u, double v, bool tile);

}  // namespace assetgen
