// Scenery art: the sky-box faces and the pictures of the effect scenes
#pragma once

#include "Picture.h"

namespace assetgen {

// 512 x 512 side face of the sky box, upright: the box puts a face's middle row on the
// horizon, so the upper half is cloudy sky over far mountains and the lower half the open sea
// far below, hazy towards the horizon. Repeats left to right, so the four side faces meet
// without a jump.
Picture MakeSky();

// 256 x 256 floor of the sky box: the open sea round the island, in the colour the terrain's
// own sea has at its edge.
Picture MakeStone();

// 64 x 64 soft round glow on black.
Picture MakeParticleGlow();

// 256 x 256 tileable pattern for the torus tube.
Picture MakeTorusPattern();

// 512 x 512 backdrop behind the solid torus: a spiral nebula, centred, since it turns.
Picture MakeBackdrop();

// 256 x 256 tunnel wall tiles: green riveted panels with light strips, and glowing lava rock.
// The tunnel draws in whatever colour the particle jet left (yellow, next to no blue), so both
// are painted in reds and greens.
Picture MakeTunnelMetal();
Picture MakeTunnelLava();

}  // namespace assetgen
