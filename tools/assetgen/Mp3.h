// Mp3: encodes the song through LAME
#pragma once

#include <filesystem>

#include "Synth.h"

namespace assetgen {

// 44.1 kHz joint stereo at a constant bit rate, with the Info tag that lets decoders drop the
// encoder's padding. False (with a message) on failure.
bool WriteMp3(const std::filesystem::path& path, const Stereo& song, int kbps, int quality);

}  // namespace assetgen
