// The octree's one-pass sorting into children checked against the plain rule
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "TestGrid.h"
#include "geometry/Octree.h"

namespace {

// The tree as text: per node its cube, then either its children or its triangle numbers.
void DescribeReference(std::span<const TerrainTriangle* const> input, const Cube& cube,
                       std::span<const TerrainVertex> vertices, std::string& out) {
  std::vector<const TerrainTriangle*> mine;
  for (const TerrainTriangle* t : input) {
    if (cube.ContainsTriangle(vertices, t) == TriangleInCube::kBelongs) mine.push_back(t);
  }
  out += "[" + std::to_string(cube.x) + "," + std::to_string(cube.y) + "," + std::to_string(cube.z) + "," +
         std::to_string(cube.size);
  if (mine.size() >= static_cast<size_t>(OctreeMaxTriangles) &&
      static_cast<float>(OctreeMinCubeSize) <= cube.size) {
    for (const Cube& child : cube.Split()) DescribeReference(mine, child, vertices, out);
  } else {
    for (const TerrainTriangle* t : mine) out += " " + std::to_string(t->number);
  }
  out += "]";
}

void DescribeTree(const OctreeNode& node, std::string& out) {
  const Cube& cube = *node.GetCube();
  out += "[" + std::to_string(cube.x) + "," + std::to_string(cube.y) + "," + std::to_string(cube.z) + "," +
         std::to_string(cube.size);
  if (node.HasChildren()) {
    for (int k = 0; k < 8; ++k) DescribeTree(node.Child(k), out);
  } else {
    for (const TerrainTriangle* t : node.Triangles()) out += " " + std::to_string(t->number);
  }
  out += "]";
}

TEST(OctreeSorting, OnePassSortingMatchesTestingEveryChild) {
  const std::vector<std::pair<int, int>> sizes = {{2, 2}, {17, 9}, {33, 33}, {64, 40}, {100, 100}};
  const std::vector<std::function<int(int, int)>> shapes = {
      [](int, int) { return 0; },
      [](int c, int r) { return static_cast<int>(127 + 120 * std::sin(c * 0.3) * std::cos(r * 0.2)); },
      [](int c, int r) { return (c / 5 + r / 7) % 2 ? 255 : 0; },  // cliffs
      [](int c, int) { return c * 37 % 256; },
  };
  for (const auto& [w, d] : sizes) {
    for (size_t s = 0; s < shapes.size(); ++s) {
      const testgrid::Grid grid = testgrid::MakeGrid(w, d, shapes[s]);
      OctreeNode root;
      root.Build(grid.pointers, grid.RootCube(), grid.vertices);
      std::string expected, actual;
      DescribeReference(grid.pointers, grid.RootCube(), grid.vertices, expected);
      DescribeTree(root, actual);
      EXPECT_EQ(actual, expected) << w << "x" << d << " shape " << s;
    }
  }
}

}  // namespace
