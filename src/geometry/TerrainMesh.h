// TerrainMesh: the terrain grid's plain records and the per-frame list of visible vertex numbers
#pragma once

#include <cstdint>
#include <vector>

#include "geometry/Vector.h"

// The terrain grid's plain records (TerrainVertex, TerrainTriangle) and the per-frame list of visible vertex
// numbers (IndexList). They live here, below the terrain module, so that the octree can read the mesh without
// depending on the terrain. No GL.

// One grid vertex. Number i = row * width + column.
struct TerrainVertex {
  Vector3 position;                     // x = column * 1.6, y = height byte * 15/256, z = row * 1.6
  unsigned char colour[3] = {0, 0, 0};  // baked grey shade, the same in all three once lit
  Vector4 normal;                       // unit vertex normal; (0, 0, 0) on the border
  float s = 0.0f;                       // column / width
  float t = 0.0f;                       // row / depth
};

// One grid triangle: corners by vertex number, counter-clockwise seen from +y.
struct TerrainTriangle {
  uint32_t a = 0;
  uint32_t b = 0;
  uint32_t c = 0;
  Vector3 normal;       // unit face normal
  uint32_t number = 0;  // own position in the triangle array
};

// Vertex numbers of the triangles to draw this frame, three per triangle, filled by the octree walk.
// Sized once at build time; appending never allocates and never writes past the capacity.
class IndexList {
 public:
  // Reserves room for capacityTriangles triangles (releasing earlier storage), empties the list and
  // remembers the mesh's triangle array (not owned) for AddTriangleByNumber. False, leaving an empty
  // list of capacity 0, for a negative capacity or one too large to index with an int.
  bool Allocate(int capacityTriangles, const TerrainTriangle* triangles, int triangleCount);
  void Clear() { count_ = 0; }
  // Appends a, b, c. False (and nothing appended) when the list is full.
  bool AddTriangle(const TerrainTriangle& triangle);
  // Appends the triangle with this number. False for a number outside the remembered array.
  bool AddTriangleByNumber(uint32_t number);

  const uint32_t* Indices() const { return indices_.data(); }
  int Count() const { return count_; }
  int CapacityTriangles() const { return capacityTriangles_; }
  int CapacityIndices() const { return capacityIndices_; }

 private:
  std::vector<uint32_t> indices_;  // capacityIndices_ entries, the first count_ in use
  int capacityIndices_ = 0;
  int capacityTriangles_ = 0;
  int count_ = 0;
  const TerrainTriangle* triangles_ = nullptr;
  int triangleCount_ = 0;
};
