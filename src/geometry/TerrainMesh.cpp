// TerrainMesh: the visible-index list
#include "geometry/TerrainMesh.h"

#include <climits>
#include <cstddef>

bool IndexList::Allocate(int capacityTriangles, const TerrainTriangle* triangles, int triangleCount) {
  const bool valid = capacityTriangles >= 0 && capacityTriangles <= INT_MAX / 3;
  if (!valid) capacityTriangles = 0;
  capacityTriangles_ = capacityTriangles;
  capacityIndices_ = 3 * capacityTriangles;
  std::vector<uint32_t>(static_cast<std::size_t>(capacityIndices_)).swap(indices_);
  count_ = 0;
  triangles_ = triangles;
  triangleCount_ = triangles && triangleCount > 0 ? triangleCount : 0;
  return valid;
}

bool IndexList::AddTriangle(const TerrainTriangle& triangle) {
  if (count_ + 3 > capacityIndices_) return false;
  indices_[count_] = triangle.a;
  indices_[count_ + 1] = triangle.b;
  indices_[count_ + 2] = triangle.c;
  count_ += 3;
  return true;
}

bool IndexList::AddTriangleByNumber(uint32_t number) {
  if (number >= static_cast<uint32_t>(triangleCount_)) return false;
  return AddTriangle(triangles_[number]);
}
