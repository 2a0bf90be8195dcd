// SceneQuality: the per-scene offsets
#include "capture/SceneQuality.h"

#include <algorithm>

#include "capture/VideoEncoder.h"
#include "director/Timeline.h"

namespace capture {
namespace {

// CRF steps from the base; lower is better and larger, about a tenth in size a step.
int CrfOffset(Scene scene) {
  switch (scene) {
    case Scene::kCredits:
    case Scene::kFarewell:
      return 0;
    case Scene::kTunnel:
    case Scene::kSecondTunnel:
      return 0;
    case Scene::kWireTorus:
      return 0;
    case Scene::kFlight:
      return 0;
    case Scene::kSolidTorus:
      return 0;
    case Scene::kNone:
      return 0;
  }
  return 0;
}

}  // namespace

int ChooseCrf(int baseCrf, int32_t programmeMs) {
  return std::clamp(baseCrf + CrfOffset(SceneAt(programmeMs)), 0, kMaxCrf);
}

}  // namespace capture
