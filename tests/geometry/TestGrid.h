// TestGrid: a synthetic terrain grid for the geometry tests and benchmarks
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "geometry/Octree.h"
#include "geometry/TerrainMesh.h"

namespace testgrid {

struct Grid {
  int width = 0;
  int depth = 0;
  std::vector<TerrainVertex> vertices;
  std::vector<TerrainTriangle> triangles;
  std::vector<const TerrainTriangle*> pointers;  // in record order, as the terrain hands them over

  // The terrain's root cube: corner at the origin, edge the largest of the two extents and 256 height
  // steps.
  Cube RootCube() const {
    const float worldWidth = static_cast<float>(width) * 1.6f;
    const float worldDepth = static_cast<float>(depth) * 1.6f;
    return {0.0f, 0.0f, 0.0f, std::max({worldDepth, 256.0f * 0.05859375f, worldWidth})};
  }
};

inline Grid MakeGrid(int width, int depth, const std::function<int(int, int)>& height = nullptr) {
  Grid g;
  g.width = width;
  g.depth = depth;
  g.vertices.resize(static_cast<size_t>(width) * depth);
  for (int r = 0; r < depth; ++r) {
    for (int c = 0; c < width; ++c) {
      TerrainVertex& v = g.vertices[static_cast<size_t>(r) * width + c];
      const int h = height ? height(c, r) : 0;
      v.position.Set(static_cast<float>(c) * 1.6f, static_cast<float>(h) * 0.05859375f,
                     static_cast<float>(r) * 1.6f);
      v.s = static_cast<float>(c) / static_cast<float>(width);
      v.t = static_cast<float>(r) / static_cast<float>(depth);
    }
  }
  if (width < 2 || depth < 2) return g;
  g.triangles.resize(static_cast<size_t>(2 * width - 2) * (depth - 1));
  for (int r = 0; r + 1 < depth; ++r) {
    for (int c = 0; c + 1 < width; ++c) {
      const uint32_t i = static_cast<uint32_t>(r * width + c);
      const uint32_t k = static_cast<uint32_t>(r * (width - 1) + c);
      const uint32_t w = static_cast<uint32_t>(width);
      g.triangles[2 * k] = {i, i + w, i + 1, {}, 2 * k};
      g.triangles[2 * k + 1] = {i + w + 1, i + 1, i + w, {}, 2 * k + 1};
    }
  }
  for (const TerrainTriangle& t : g.triangles) g.pointers.push_back(&t);
  return g;
}

// Builds the octree over the grid as the terrain does.
inline void BuildOctree(OctreeNode& root, const Grid& g) { root.Build(g.pointers, g.RootCube(), g.vertices); }

}  // namespace testgrid
