// SceneQuality: the video's CRF for each scene of the programme
#pragma once

#include <cstdint>

namespace capture {

// The CRF of a frame that the demo drew at its own programme time `programmeMs`: `baseCrf`
// (--crf) moved by that scene's offset, kept within x264's 0 to 51.
int ChooseCrf(int baseCrf, int32_t programmeMs);

}  // namespace capture
