// EffectScenes: the fixed matrix and state recipes around the effect objects
#include "director/EffectScenes.h"

#include <GL/gl.h>

#include "effects/BackgroundPanel.h"
#include "effects/Torus.h"
#include "effects/Tunnel.h"
#include "particles/ParticleSystem.h"

void TunnelScene(Tunnel& tunnel, unsigned int tunnelTexture, ParticleSystem& jet) {
  glMatrixMode(GL_MODELVIEW);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  glDisable(GL_LIGHTING);
  glLoadIdentity();
  tunnel.Draw(tunnelTexture);
  glTranslatef(0, 0, -20);  // onto the tunnel's view, move and 0.8 scale
  jet.Frame();
}

void WireTorusScene(ParticleSystem& cloud, Torus& wireTorus) {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(0, 0, -10);
  glEnable(GL_DEPTH_TEST);
  cloud.Frame();
  wireTorus.Frame();
}

void SolidTorusScene(BackgroundPanel& panel, Torus& solidTorus) {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  panel.Draw();
  glTranslatef(0, 0, -10);
  glEnable(GL_DEPTH_TEST);
  solidTorus.Frame();
}
