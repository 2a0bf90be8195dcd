// VertexArrays: the mesh's GL client arrays
#include <GL/gl.h>

#include "terrain/Terrain.h"

VertexArrays::~VertexArrays() {
  if (mask_ != 0) Disable(mask_);
}

void VertexArrays::Allocate(size_t vertexCount, unsigned mask) {
  if (mask & kTexCoordArray) {
    std::vector<float>(vertexCount * 2).swap(texCoords_);
    glTexCoordPointer(2, GL_FLOAT, 0, texCoords_.data());
  }
  if (mask & kPositionArray) {
    std::vector<float>(vertexCount * 3).swap(positions_);
    glVertexPointer(3, GL_FLOAT, 0, positions_.data());
  }
  if (mask & kColourArray) {
    std::vector<unsigned char>(vertexCount * 4).swap(colours_);
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, colours_.data());
  }
}

void VertexArrays::Enable(unsigned mask) {
  mask_ = mask;
  if (mask & kPositionArray) glEnableClientState(GL_VERTEX_ARRAY);
  if (mask & kColourArray) glEnableClientState(GL_COLOR_ARRAY);
  if (mask & kTexCoordArray) glEnableClientState(GL_TEXTURE_COORD_ARRAY);
}

void VertexArrays::Disable(unsigned mask) {
  if (mask & kTexCoordArray) glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  if (mask & kColourArray) glDisableClientState(GL_COLOR_ARRAY);
  if (mask & kPositionArray) glDisableClientState(GL_VERTEX_ARRAY);
}

bool VertexArrays::DrawElements(const uint32_t* indices, int count, unsigned mode) {
  glDrawElements(mode, count, GL_UNSIGNED_INT, indices);
  return true;
}
