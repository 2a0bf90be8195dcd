// SceneQuality: the per-scene offsets from the base CRF
#include "capture/SceneQuality.h"

#include <algorithm>

#include "capture/VideoEncoder.h"
#include "director/Timeline.h"

namespace capture {
namespace {

// One CRF for the whole programme spends bits by x264's own measure of a frame's complexity:
// the scrolling text and the flight got 45 to 50 dB of luma PSNR for a few megabytes, the wire
// torus in its particle cloud 28 dB for a third of the file. These offsets were chosen on a
// measured curve (size and PSNR per scene and CRF, in the README's Capture section) to raise
// the worst scene as far as the whole programme at the default stays within 250 MB: the
// tunnels, the torus and the solid torus land at 32 to 33 dB, the cheap scenes at 39 to 41 dB.
// A CRF step is about a tenth in size and 0.7 to 0.9 dB.
int CrfOffset(Scene scene) {
  switch (scene) {
    case Scene::kCredits:
    case Scene::kFarewell:
      return 12;
    case Scene::kFlight:
      return 9;
    case Scene::kTunnel:
      return 6;
    case Scene::kSecondTunnel:  // its picture costs more bits than the first tunnel's
    case Scene::kSolidTorus:
      return 4;
    case Scene::kWireTorus:
      return -5;
    case Scene::kNone:  // black frames, before the start or after the end
      return 0;
  }
  return 0;
}

}  // namespace

int ChooseCrf(int baseCrf, int32_t programmeMs) {
  return std::clamp(baseCrf + CrfOffset(SceneAt(programmeMs)), 0, kMaxCrf);
}

}  // namespace capture
