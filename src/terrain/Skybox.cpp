// Skybox: loading the six faces and drawing the cube around the eye
#include "terrain/Skybox.h"

#include <GL/gl.h>

namespace {

struct Quad {
  int face;
  float corners[4][3];  // in units of the half edge
};

// Front, back, left, right, top, and the stone picture at the bottom.
constexpr Quad kQuads[6] = {
    {0, {{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}}},
    {2, {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1}}},
    {1, {{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}}},
    {3, {{1, -1, -1}, {1, -1, 1}, {1, 1, 1}, {1, 1, -1}}},
    {4, {{1, 1, 1}, {-1, 1, 1}, {-1, 1, -1}, {1, 1, -1}}},
    {5, {{1, -1, 1}, {-1, -1, 1}, {-1, -1, -1}, {1, -1, -1}}},
};

constexpr int kTexCoords[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};

}  // namespace

std::vector<std::string> SkyboxFiles() {
  std::vector<std::string> names(5, "data/gfx/skybox/sky.bmp");
  names.push_back("data/gfx/skybox/stone.bmp");
  return names;
}

bool Skybox::Load(const std::vector<std::string>& names, const ShowMessageBox& showMessage) {
  if (names.size() < 6 || names[0].empty()) return false;
  for (int i = 0; i < 6; ++i) {
    if (!faces[i].LoadBitmap(names[static_cast<size_t>(i)], showMessage)) return false;
  }
  centre[0] = centre[1] = centre[2] = 0.0f;
  halfSize = 20.0f;
  return true;
}

void Skybox::Draw(Camera& camera) const {
  const float e = halfSize * 0.5f;
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glDisable(GL_FOG);
  glEnable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glPushMatrix();
  glLoadIdentity();
  camera.UpdateRotationOnly();
  camera.Apply();
  for (const Quad& quad : kQuads) {
    faces[quad.face].Bind();
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
      glTexCoord2i(kTexCoords[i][0], kTexCoords[i][1]);
      glVertex3f(quad.corners[i][0] * e, quad.corners[i][1] * e, quad.corners[i][2] * e);
    }
    glEnd();
    Texture::Unbind();
  }
  glPopMatrix();
  glPopAttrib();
}
