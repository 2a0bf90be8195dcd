// TerrainDraw: one landscape frame, from render state to a single glDrawElements
#include <GL/gl.h>

#include "geometry/Frustum.h"
#include "terrain/Terrain.h"

namespace {

void SetFillMode(bool solid) {
  if (solid) {
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_BLEND);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_CULL_FACE);
  } else {
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glHint(GL_LINE_SMOOTH_HINT, GL_DONT_CARE);
  }
}

}  // namespace

void Terrain::Draw(Camera& camera, const OctreeDisplay& display) {
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glFrontFace(GL_CCW);
  glCullFace(GL_BACK);
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_FOG);
  if (flags.texturing) {
    arrays_.Enable(kTexCoordArray);
    glEnable(GL_TEXTURE_2D);
  } else {
    arrays_.Disable(kTexCoordArray);
    glDisable(GL_TEXTURE_2D);
  }
  SetFillMode(flags.solidFill);
  glShadeModel(flags.smoothShading ? GL_SMOOTH : GL_FLAT);

  sky_.Draw(camera);
  camera.Update();
  camera.Apply();
  Frustum frustum;
  frustum.Update();
  visible_.Clear();
  // A build that failed before its octree leaves no cube to walk.
  if (octree_.GetCube() != nullptr) octree_.CollectVisible(&frustum, visible_, display);
  const int count = visible_.Count();

  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  texture_.Bind();
  VertexArrays::DrawElements(visible_.Indices(), count, GL_TRIANGLES);
  Texture::Unbind();
  glPopAttrib();
}

void DrawLandscape(Terrain& terrain, Camera& camera, const OctreeDisplay& display) {
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_DEPTH_TEST);
  glLoadIdentity();
  terrain.Draw(camera, display);
}
