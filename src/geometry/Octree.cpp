// Octree.cpp: cube containment and splitting, and the octree build.
// Depends on: geometry/Octree.h.
#include "geometry/Octree.h"

#include <cmath>
#include <vector>

bool Cube::ContainsPoint(std::span<const TerrainVertex> vertices, uint32_t v) const {
  if (v >= vertices.size()) return false;
  const Vector3& p = vertices[v].position;
  // The far faces are compared unrounded: x + size is not rounded to float first.
  return p.x >= x && p.x <= static_cast<double>(x) + size && p.y >= y &&
         p.y <= static_cast<double>(y) + size && p.z >= z && p.z <= static_cast<double>(z) + size;
}

int Cube::ContainsTriangle(std::span<const TerrainVertex> vertices, const TerrainTriangle* triangle) const {
  if (!triangle) return -1;
  if (ContainsPoint(vertices, triangle->a) || ContainsPoint(vertices, triangle->b) ||
      ContainsPoint(vertices, triangle->c)) {
    return 2;
  }
  return 0;
}

std::array<Cube, 8> Cube::Split() const {
  const float h = size * 0.5f;
  const float xh = x + h, yh = y + h, zh = z + h;
  return {{{xh, y, zh, h},
           {x, y, zh, h},
           {xh, yh, zh, h},
           {x, yh, zh, h},
           {xh, y, z, h},
           {x, y, z, h},
           {xh, yh, z, h},
           {x, yh, z, h}}};
}

OctreeNode::OctreeNode() : cube_(std::make_unique<Cube>()) {}

void OctreeNode::Clear() {
  triangleCount_ = 0;
  cube_.reset();
  children_.reset();  // each child's destructor frees its own subtree
  triangles_.reset();
}

int OctreeNode::CountTriangles() const {
  if (!children_) return triangleCount_;
  int sum = 0;
  for (int k = 0; k < 8; ++k) sum += children_[k].CountTriangles();
  return sum;
}

void OctreeNode::Build(std::span<const TerrainTriangle* const> triangles, const Cube& cube,
                       std::span<const TerrainVertex> vertices) {
  // A rebuild (after a window re-creation) and a build after Clear start from an empty node.
  Clear();
  cube_ = std::make_unique<Cube>(cube);

  std::vector<const TerrainTriangle*> belonging;
  for (const TerrainTriangle* t : triangles) {
    if (cube.ContainsTriangle(vertices, t) == 2) belonging.push_back(t);
  }
  const std::size_t n = belonging.size();

  // An infinite edge never halves below the minimum, so it is never split.
  const bool splittable = std::isfinite(cube.size) && static_cast<float>(OctreeMinCubeSize) <= cube.size;
  if (n >= static_cast<std::size_t>(OctreeMaxTriangles) && splittable) {
    children_ = std::make_unique<OctreeNode[]>(8);
    const std::array<Cube, 8> childCubes = cube.Split();
    for (int k = 0; k < 8; ++k) children_[k].Build(belonging, childCubes[k], vertices);
    return;
  }
  if (n == 0) return;
  triangles_ = std::make_unique<const TerrainTriangle*[]>(n);
  for (std::size_t i = 0; i < n; ++i) triangles_[i] = belonging[i];
  triangleCount_ = static_cast<int>(n);
}
