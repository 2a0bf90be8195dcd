// Startup: InitDemo and LoadDemoResources
#include "director/Startup.h"

#include <GL/gl.h>
#define ILUT_USE_OPENGL
#include <IL/il.h>
#include <IL/ilut.h>

#include <string>

// DevIL/ILUT load the backdrop and the two tunnel images straight into GL textures.

namespace {

// The backdrop's DevIL image of a previous start-up is released before a new one is
// made, so restarts do not pile images up in the library.
void LoadBackdrop(TimelineState& timeline) {
  if (timeline.backdropImage != 0) ilDeleteImages(1, &timeline.backdropImage);
  ILuint image = 0;
  ilGenImages(1, &image);
  ilBindImage(image);
  ilLoadImage(kBackdropFile);
  timeline.backdropImage = image;
  timeline.backdropTexture = ilutGLBindTexImage();
}

GLuint LoadTunnelImage(const char* path) {
  std::string name = path;  // ILUT takes a mutable string
  return ilutGLLoadImage(name.data());
}

}  // namespace

bool InitDemo(Demo& demo) {
  ilInit();
  ilutRenderer(ILUT_OPENGL);
  demo.music.Init();
  demo.music.Open(kMusicFile);
  demo.music.Play();
  demo.timeline.TimelineStartTick = demo.platform.GetTickCount();
  // The terrain from its heightmap, the scene state, the camera's starting pose; it
  // shows its own box when it fails and the show goes on regardless.
  LandscapeContext landscape{demo.console, demo.octreeDisplay, demo.MessageBoxes()};
  InitLandscape(demo.terrain, demo.camera, landscape);
  LoadDemoResources(demo);
  return true;
}

void LoadDemoResources(Demo& demo) {
  // Without the font the show goes on; text is drawn with an empty texture.
  if (demo.font.Load(kFontFile) != TgaResult::kLoaded) {
    ShowBox(demo.MessageBoxes(), "Error loading font", "Error", BoxOwner::kMainWindow);
  }
  // Results not examined: a missing picture leaves the effect untextured.
  demo.solidTorus.Init(GL_FILL);
  demo.wireTorus.Init(GL_LINE);
  demo.idleJet.Init();
  demo.cloud.Init();
  demo.jet.Init();
  demo.backgroundPanel.LoadTexture();
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);  // replaces the landscape's clear colour
  LoadBackdrop(demo.timeline);
  demo.timeline.tunnelImage1 = LoadTunnelImage(kTunnelImage1File);
  demo.timeline.tunnelImage2 = LoadTunnelImage(kTunnelImage2File);
  demo.timeline.tunnelTextureSlot = demo.timeline.tunnelImage1;
  demo.tunnel.Init();
  BuildFlightCurves(demo.flight);
}
