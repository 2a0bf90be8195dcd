// Timeline: scene choice by elapsed time, the frame bracket, the end of the programme.
#include "director/Timeline.h"

#include <GL/gl.h>

#include "director/EffectScenes.h"
#include "platform/Win32.h"

Scene SceneAt(int32_t t) {
  if (t < 0) return Scene::kNone;
  if (t < 19000) return Scene::kCredits;
  if (t < 47000) return Scene::kTunnel;
  if (t < 75000) return Scene::kWireTorus;
  if (t < 102000) return Scene::kFlight;
  if (t < 130000) return Scene::kSecondTunnel;
  if (t < 158000) return Scene::kSolidTorus;
  if (t < kProgrammeEnd) return Scene::kFarewell;
  return Scene::kNone;
}

namespace {

void RunScene(Demo& demo, Scene scene, int32_t t) {
  switch (scene) {
    case Scene::kCredits:
      CreditsScroller(t, demo.scrollers.credits, demo.printer, demo.timeline.backdropTexture);
      break;
    case Scene::kTunnel:
      TunnelScene(demo.tunnel, demo.timeline.tunnelTextureSlot, demo.jet);
      break;
    case Scene::kWireTorus:
      WireTorusScene(demo.cloud, demo.wireTorus);
      break;
    case Scene::kFlight:
      FlightScene(demo.flight, demo.camera, demo.terrain, demo.octreeDisplay);
      break;
    case Scene::kSecondTunnel:
      // From here to the end of the run the tunnel shows the second image.
      demo.timeline.tunnelTextureSlot = demo.timeline.tunnelImage2;
      TunnelScene(demo.tunnel, demo.timeline.tunnelTextureSlot, demo.jet);
      break;
    case Scene::kSolidTorus:
      SolidTorusScene(demo.backgroundPanel, demo.solidTorus);
      break;
    case Scene::kFarewell:
      FarewellScroller(t, demo.scrollers.farewell, demo.printer, demo.timeline.backdropTexture);
      break;
    case Scene::kNone:
      break;
  }
}

}  // namespace

void RunTimeline(Demo& demo) {
  // Unsigned difference taken as signed: right across a wrap of the tick counter,
  // and a clock that went back shows as a negative time (nothing drawn).
  const auto t = static_cast<int32_t>(demo.platform.GetTickCount() - demo.timeline.TimelineStartTick);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  RunScene(demo, SceneAt(t), t);
  glFinish();
  if (t >= kProgrammeEnd) demo.shell.SetKey(platform::VK_ESCAPE, true);
}

bool DrawFrame(Demo& demo) {
  RunTimeline(demo);
  return true;
}
