// Octree: cube containment and splitting, and the octree build
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

TriangleInCube Cube::ContainsTriangle(std::span<const TerrainVertex> vertices,
                                      const TerrainTriangle* triangle) const {
  if (!triangle) return TriangleInCube::kNoTriangle;
  if (ContainsPoint(vertices, triangle->a) || ContainsPoint(vertices, triangle->b) ||
      ContainsPoint(vertices, triangle->c)) {
    return TriangleInCube::kBelongs;
  }
  return TriangleInCube::kOutside;
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

namespace {

// Which of the eight children of a split hold a point: bit k for child k. The same
// comparisons Cube::ContainsPoint makes on each child cube, shared between the
// children along each axis, so a parent sorts its triangles in one pass, not eight.
struct ChildPlanes {
  float low[3];      // minimum corner of the low children along x, y, z
  float high[3];     // ... and of the high ones
  double lowFar[3];  // their far faces, unrounded
  double highFar[3];
  unsigned char masks[64];  // children holding a point, by its side bits along x, y, z

  explicit ChildPlanes(const std::array<Cube, 8>& children) {
    const float lows[3] = {children[5].x, children[5].y, children[5].z};
    const float highs[3] = {children[2].x, children[2].y, children[2].z};
    for (int a = 0; a < 3; ++a) {
      low[a] = lows[a];
      high[a] = highs[a];
      lowFar[a] = static_cast<double>(lows[a]) + children[0].size;
      highFar[a] = static_cast<double>(highs[a]) + children[0].size;
    }
    // Child order of Cube::Split: k = 0..7 with (x, y, z) sides
    // (H,L,H) (L,L,H) (H,H,H) (L,H,H) (H,L,L) (L,L,L) (H,H,L) (L,H,L).
    for (unsigned bits = 0; bits < 64; ++bits) {
      const unsigned in[3] = {bits & 3u, (bits >> 2) & 3u, (bits >> 4) & 3u};  // 1: low side, 2: high side
      unsigned mask = 0;
      for (int k = 0; k < 8; ++k) {
        const unsigned xSide = (k & 1) ? 1u : 2u;
        const unsigned ySide = (k & 2) ? 2u : 1u;
        const unsigned zSide = (k & 4) ? 1u : 2u;
        if ((in[0] & xSide) && (in[1] & ySide) && (in[2] & zSide)) mask |= 1u << k;
      }
      masks[bits] = static_cast<unsigned char>(mask);
    }
  }

  unsigned Side(int a, float c) const {
    return (c >= low[a] && c <= lowFar[a] ? 1u : 0u) | (c >= high[a] && c <= highFar[a] ? 2u : 0u);
  }

  unsigned PointMask(std::span<const TerrainVertex> vertices, uint32_t v) const {
    if (v >= vertices.size()) return 0;
    const Vector3& p = vertices[v].position;
    return masks[Side(0, p.x) | Side(1, p.y) << 2 | Side(2, p.z) << 4];
  }
};

}  // namespace

void OctreeNode::Build(std::span<const TerrainTriangle* const> triangles, const Cube& cube,
                       std::span<const TerrainVertex> vertices) {
  std::vector<const TerrainTriangle*> belonging;
  belonging.reserve(triangles.size());
  for (const TerrainTriangle* t : triangles) {
    if (cube.ContainsTriangle(vertices, t) == TriangleInCube::kBelongs) belonging.push_back(t);
  }
  BuildFromBelonging(belonging, cube, vertices);
}

void OctreeNode::BuildFromBelonging(std::vector<const TerrainTriangle*>& belonging, const Cube& cube,
                                    std::span<const TerrainVertex> vertices) {
  // A rebuild (after a window re-creation) and a build after Clear start from an empty node.
  Clear();
  cube_ = std::make_unique<Cube>(cube);
  const std::size_t n = belonging.size();

  // An infinite edge never halves below the minimum, so it is never split.
  const bool splittable = std::isfinite(cube.size) && static_cast<float>(OctreeMinCubeSize) <= cube.size;
  if (n >= static_cast<std::size_t>(OctreeMaxTriangles) && splittable) {
    children_ = std::make_unique<OctreeNode[]>(8);
    const std::array<Cube, 8> childCubes = cube.Split();
    const ChildPlanes planes(childCubes);
    // Each child's triangles, in the parent's order: those with a vertex in its cube.
    std::array<std::vector<const TerrainTriangle*>, 8> lists;
    for (const TerrainTriangle* t : belonging) {
      const unsigned mask = planes.PointMask(vertices, t->a) | planes.PointMask(vertices, t->b) |
                            planes.PointMask(vertices, t->c);
      for (int k = 0; k < 8; ++k) {
        if (mask & (1u << k)) lists[k].push_back(t);
      }
    }
    std::vector<const TerrainTriangle*>().swap(belonging);
    for (int k = 0; k < 8; ++k) {
      children_[k].BuildFromBelonging(lists[k], childCubes[k], vertices);
      std::vector<const TerrainTriangle*>().swap(lists[k]);
    }
    return;
  }
  if (n == 0) return;
  triangles_ = std::make_unique<const TerrainTriangle*[]>(n);
  for (std::size_t i = 0; i < n; ++i) triangles_[i] = belonging[i];
  triangleCount_ = static_cast<int>(n);
}
