// Timeline: scene choice by elapsed time, the frame bracket, the end of the programme.
#include "director/Timeline.h"

#include <GL/gl.h>

#include "director/EffectScenes.h"
#include "platform/Win32.h"

Scene SceneAt(int32_t t) {
  if (t < 0) return Scene::None;
  if (t < 19000) return Scene::Credits;
  if (t < 47000) return Scene::Tunnel;
  if (t < 75000) return Scene::WireTorus;
  if (t < 102000) return Scene::Flight;
  if (t < 130000) return Scene::SecondTunnel;
  if (t < 158000) return Scene::SolidTorus;
  if (t < kProgrammeEnd) return Scene::Farewell;
  return Scene::None;
}

namespace {

void RunScene(Demo& demo, Scene scene, int32_t t) {
  switch (scene) {
    case Scene::Credits:
      CreditsScroller(t, demo.scrollers.credits, demo.printer, demo.timeline.BackdropTexture);
      break;
    case Scene::Tunnel:
      TunnelScene(demo.tunnel, demo.timeline.TunnelTextureSlot, demo.jet);
      break;
    case Scene::WireTorus:
      WireTorusScene(demo.cloud, demo.wireTorus);
      break;
    case Scene::Flight:
      FlightScene(demo.flight, demo.camera, demo.terrain, demo.octreeDisplay);
      break;
    case Scene::SecondTunnel:
      // From here to the end of the run the tunnel shows the second image.
      demo.timeline.TunnelTextureSlot = demo.timeline.TunnelImage2;
      TunnelScene(demo.tunnel, demo.timeline.TunnelTextureSlot, demo.jet);
      break;
    case Scene::SolidTorus:
      SolidTorusScene(demo.backgroundPanel, demo.solidTorus);
      break;
    case Scene::Farewell:
      FarewellScroller(t, demo.scrollers.farewell, demo.printer, demo.timeline.BackdropTexture);
      break;
    case Scene::None:
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
