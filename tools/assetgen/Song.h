// Song: the demo's soundtrack, arranged in sections that change with the programme's scenes
#pragma once

#include "Synth.h"

namespace assetgen {

// Length of the rendered track (s): the programme ends at 185.9 s; the music fades out just
// before that and the rest is silence, so the file is never shorter than the show.
constexpr double kSongSeconds = 188.0;

// Section starts (s): credits, tunnel, wire torus, flight, tunnel again, solid torus, farewell.
constexpr double kSectionStarts[7] = {0, 19, 47, 75, 102, 130, 158};
constexpr double kProgrammeEnd = 185.9;

// Renders the whole song, 44.1 kHz stereo, normalised.
Stereo MakeSong();

}  // namespace assetgen
