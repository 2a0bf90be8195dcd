// Landscape: InitLandscape, the start-up build plus the scene light, clear colour and first camera pose
#include <GL/gl.h>

#include "terrain/Terrain.h"

namespace {

// Light 0 serves the scenes that switch GL lighting on (the terrain's own light is
// baked). Its position is taken in the eye space current now: the viewer.
void SetUpSceneLight() {
  glShadeModel(GL_SMOOTH);
  glEnable(GL_LIGHTING);
  const GLfloat ambient[4] = {0.7f, 0.7f, 0.7f, 1.0f};
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
  glEnable(GL_LIGHT0);
  const GLfloat lightAmbient[4] = {0.9f, 0.9f, 0.9f, 0.9f};
  const GLfloat diffuse[4] = {1.0f, 1.0f, 1.0f, 0.5f};
  const GLfloat specular[4] = {1.0f, 1.0f, 1.0f, 0.5f};
  const GLfloat position[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  glLightfv(GL_LIGHT0, GL_AMBIENT, lightAmbient);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
  glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
  glLightfv(GL_LIGHT0, GL_POSITION, position);
}

void PlaceCamera(Camera& camera) {
  camera.position.Set(-20.0f, -30.0f, -20.0f);
  camera.Yaw(-20.0f);
  camera.Pitch(-50.0f);
  camera.Update();
}

}  // namespace

void Terrain::ForgetTextures() {
  texture_ = Texture{};
  for (Texture& face : sky_.faces) face = Texture{};
}

bool InitLandscape(Terrain& terrain, Camera& camera, LandscapeContext& context) {
  glClear(GL_COLOR_BUFFER_BIT);
  // Each start-up runs in a new rendering context (F1 re-creates the window).
  terrain.ForgetTextures();
  context.console.Print("Welcome Aboard Brumlys' Landscape Engine");
  context.console.Print("- - - - - - - - - - -");
  if (!terrain.Build(kHeightmapPath, context)) {
    ShowBox(context.showMessage, "Could not generate landscape from heightmap info", "Error",
            BoxOwner::kMainWindow);
    return false;
  }
  SetUpSceneLight();
  PlaceCamera(camera);
  glClearColor(0.0f, 0.0f, 0.5f, 1.0f);
  return true;
}
