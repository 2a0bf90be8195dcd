// SceneQuality: the video's CRF for each scene of the programme
//
// One CRF for the whole programme gives the credits and the flight far more quality than they need and the
// wireframe torus in its particle cloud far less: x264 spends bits by its own measure of a frame's
// complexity, not by what the picture needs. So each scene moves the base CRF (--crf) by an offset of its
// own, chosen on a measured curve of size against luma PSNR; the README's Capture section has the figures.
#pragma once

#include <cstdint>

namespace capture {

// The CRF of a frame that the demo drew at its own programme time `programmeMs`: `baseCrf`
// moved by that scene's offset, kept within x264's 0 to 51.
int ChooseCrf(int baseCrf, int32_t programmeMs);

}  // namespace capture
