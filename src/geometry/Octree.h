// Octree: the octree over the terrain's triangles, built per terrain build and walked per frame
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "geometry/Frustum.h"
#include "geometry/TerrainMesh.h"

// The octree over the terrain's triangles (Cube, OctreeNode), built once per terrain build and walked every
// frame to collect the triangles of the leaves inside the view. A triangle belongs to every cube that holds
// at least one of its vertices, so it may sit in several leaves; one that merely passes through a cube is not
// stored there.

// A node is split only if at least this many triangles belong to it (also the scale of the debug
// box colours)...
inline constexpr int OctreeMaxTriangles = 20;
// ...and only if its edge is at least this long (world units).
inline constexpr int OctreeMinCubeSize = 20;

// The octree's debug display switches, owned by the program-wide state and set from the keyboard.
struct OctreeDisplay {
  bool ShowOctreeBounds = false;      // draw the boxes of the leaves the walk reaches
  bool HideEmptyOctreeNodes = false;  // leave out the boxes of nodes without triangles
};

// Whether a triangle belongs to a cube (Cube::ContainsTriangle), numbered as the answers always were.
enum class TriangleInCube : int { kNoTriangle = -1, kOutside = 0, kBelongs = 2 };

// Axis-aligned cube [x, x + size] x [y, y + size] x [z, z + size], faces included.
struct Cube {
  float x = 0.0f;  // minimum corner
  float y = 0.0f;
  float z = 0.0f;
  float size = 0.0f;

  // Whether vertex v lies in the cube (a vertex on a shared face lies in both cubes). False for a
  // vertex number outside the array.
  bool ContainsPoint(std::span<const TerrainVertex> vertices, uint32_t v) const;
  // kBelongs if any of the triangle's three corners lies in the cube, kOutside if none does.
  TriangleInCube ContainsTriangle(std::span<const TerrainVertex> vertices,
                                  const TerrainTriangle* triangle) const;
  // The eight half-size children, in the octree's child order.
  std::array<Cube, 8> Split() const;
  // The twelve edges as one GL_LINES block.
  void DrawEdges() const;
};

class OctreeNode {
 public:
  OctreeNode();
  OctreeNode(const OctreeNode&) = delete;
  OctreeNode& operator=(const OctreeNode&) = delete;

  // Releases any earlier subtree, then sorts the triangles (pointers into the mesh, which must outlive
  // the tree) into this node and below. vertices is the mesh's vertex array the triangles number into.
  void Build(std::span<const TerrainTriangle* const> triangles, const Cube& cube,
             std::span<const TerrainVertex> vertices);
  // Triangle entries of all leaves together: a triangle held by several leaves counts in each.
  int CountTriangles() const;
  // Frees the cube, the children and the triangle array: an empty leaf with no cube.
  void Clear();

  // Appends the triangles of every leaf of this subtree not outside the frustum (null: known to be
  // inside, nothing below is tested) and draws the boxes of the leaves reached when the display asks.
  void CollectVisible(const Frustum* frustum, IndexList& list, const OctreeDisplay& display) const;
  // This node's cube as a wire box shaded by its triangle count, then the same for its children.
  void DrawBounds(const OctreeDisplay& display) const;

  int TriangleCount() const { return triangleCount_; }
  const Cube* GetCube() const { return cube_.get(); }
  bool HasChildren() const { return children_ != nullptr; }
  // Child k (0..7) of an inner node.
  const OctreeNode& Child(int k) const { return children_[k]; }
  std::span<const TerrainTriangle* const> Triangles() const {
    return {triangles_.get(), static_cast<std::size_t>(triangleCount_)};
  }

 private:
  void CollectLeaf(IndexList& list, const OctreeDisplay& display) const;
  // Build with the node's own triangles already chosen (those with a vertex in cube).
  void BuildFromBelonging(std::vector<const TerrainTriangle*>& belonging, const Cube& cube,
                          std::span<const TerrainVertex> vertices);

  int triangleCount_ = 0;                                // 0 in every inner node
  std::unique_ptr<Cube> cube_;                           // null only after Clear
  std::unique_ptr<OctreeNode[]> children_;               // eight, or null in a leaf
  std::unique_ptr<const TerrainTriangle*[]> triangles_;  // triangleCount_ entries, or null
};
