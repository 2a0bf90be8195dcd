// TestGrid: terrain-like grids and free triangles for the geometry tests and benchmarks
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "geometry/Octree.h"
#include "geometry/TerrainMesh.h"

namespace testgrid {

struct Grid {
  int width = 0, depth = 0;
  std::vector<TerrainVertex> vertices;
  std::vector<TerrainTriangle> triangles;

  uint32_t Vertex(float x, float y, float z) {
    vertices.emplace_back().position.Set(x, y, z);
    return static_cast<uint32_t>(vertices.size() - 1);
  }
  void Triangle(uint32_t a, uint32_t b, uint32_t c) {
    triangles.push_back({a, b, c, {}, static_cast<uint32_t>(triangles.size())});
  }
  // n triangles with all three corners on one vertex at (x, y, z).
  void Cluster(int n, float x, float y, float z) {
    const uint32_t v = Vertex(x, y, z);
    for (int i = 0; i < n; ++i) Triangle(v, v, v);
  }
  // In record order, as the terrain hands them to the octree.
  std::vector<const TerrainTriangle*> Pointers() const {
    std::vector<const TerrainTriangle*> out;
    for (const TerrainTriangle& t : triangles) out.push_back(&t);
    return out;
  }
};

// The terrain's grid: vertex (column c, row r) at (1.6 c, height x 15/256, 1.6 r), two triangles per cell.
inline Grid MakeGrid(int width, int depth, const std::function<int(int, int)>& height = nullptr) {
  Grid g{width, depth, {}, {}};
  const uint32_t w = static_cast<uint32_t>(width);
  for (int r = 0; r < depth; ++r) {
    for (int c = 0; c < width; ++c) {
      const uint32_t i = g.Vertex(c * 1.6f, (height ? height(c, r) : 0) * 0.05859375f, r * 1.6f);
      if (r == 0 || c == 0) continue;
      g.Triangle(i - w - 1, i - 1, i - w);  // the cell whose far corner is vertex i
      g.Triangle(i, i - w, i - 1);
    }
  }
  return g;
}

// The terrain's root cube: corner at the origin, edge the largest of the two extents and 256 height steps.
inline void BuildOctree(OctreeNode& root, const Grid& g) {
  const float edge = std::max({g.depth * 1.6f, 256.0f * 0.05859375f, g.width * 1.6f});
  root.Build(g.Pointers(), {0.0f, 0.0f, 0.0f, edge}, g.vertices);
}

}  // namespace testgrid
