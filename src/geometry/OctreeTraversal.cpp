// OctreeTraversal: the per-frame culling walk and the debug wire boxes
#include <GL/gl.h>

#include "geometry/Frustum.h"
#include "geometry/Octree.h"

namespace {

// White for an empty node fading to red at OctreeMaxTriangles; fuller leaves go negative and GL
// clamps them to red.
float BoxShade(int count) { return static_cast<float>(1.0 - (1.0 / OctreeMaxTriangles) * count); }

}  // namespace

void OctreeNode::CollectVisible(const Frustum* frustum, IndexList& list, const OctreeDisplay& display) const {
  if (triangleCount_ == 0 && !children_) {
    // Empty leaves are never tested against the frustum.
    if (display.ShowOctreeBounds) {
      glColor3f(1.0f, 1.0f, 1.0f);
      DrawBounds(display);
    }
    return;
  }
  if (frustum && cube_) {
    const CubeVisibility visibility = frustum->TestCube(*cube_);
    if (visibility == CubeVisibility::kOutside) return;
    if (visibility == CubeVisibility::kIntersecting) {
      if (!children_) {
        CollectLeaf(list, display);
        return;
      }
      for (int k = 0; k < 8; ++k) children_[k].CollectVisible(frustum, list, display);
      return;
    }
  }
  // Inside (or known to be inside): nothing below is tested again.
  if (children_) {
    for (int k = 0; k < 8; ++k) children_[k].CollectVisible(nullptr, list, display);
    return;
  }
  CollectLeaf(list, display);
}

void OctreeNode::CollectLeaf(IndexList& list, const OctreeDisplay& display) const {
  for (int i = 0; i < triangleCount_; ++i) list.AddTriangleByNumber(triangles_[i]->number);
  if (display.ShowOctreeBounds) {
    const float g = BoxShade(triangleCount_);
    glDisable(GL_LIGHTING);
    glColor3f(1.0f, g, g);
    DrawBounds(display);
  }
}

void OctreeNode::DrawBounds(const OctreeDisplay& display) const {
  if (cube_ && !(triangleCount_ == 0 && display.HideEmptyOctreeNodes)) {
    const float g = BoxShade(triangleCount_);
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_LIGHTING_BIT);
    glDisable(GL_LIGHTING);
    glColor3f(1.0f, g, g);
    cube_->DrawEdges();
    glPopAttrib();
  }
  if (children_) {
    for (int k = 0; k < 8; ++k) children_[k].DrawBounds(display);
  }
}

void Cube::DrawEdges() const {
  const float s = size;
  const float x1 = x + s, y1 = y + s, z1 = z + s;
  // Three edges from the minimum corner, three from the maximum corner, then the remaining six.
  const float lines[12][6] = {
      {x, y, z, x1, y, z},     {x, y, z, x, y1, z},     {x, y, z, x, y, z1},   {x1, y1, z1, x, y1, z1},
      {x1, y1, z1, x1, y, z1}, {x1, y1, z1, x1, y1, z}, {x, y, z1, x, y1, z1}, {x, y, z1, x1, y, z1},
      {x1, y, z, x1, y1, z},   {x1, y, z, x1, y, z1},   {x, y1, z, x, y1, z1}, {x, y1, z, x1, y1, z},
  };
  glBegin(GL_LINES);
  for (const auto& line : lines) {
    glVertex3f(line[0], line[1], line[2]);
    glVertex3f(line[3], line[4], line[5]);
  }
  glEnd();
}
