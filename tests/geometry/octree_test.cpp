// The octree: cube containment and split order, the build against the plain rule, and the visible-index list
#include "geometry/Octree.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

#include "geometry/TestGrid.h"

namespace {

// Faces belong to the cube; the far ones are compared unrounded: 1 + 0.75 ulp rounds to 1 + 1 ulp in
// float, yet a point at 1 + 1 ulp is outside a cube from 1 of edge 0.75 ulp. A triangle belongs by any
// corner. The halves come in the tree's child order.
TEST(Cube, HoldsPointsOnItsFacesAndTrianglesByAnyCornerAndSplitsInChildOrder) {
  testgrid::Grid s;
  const Cube c{0.0f, 0.0f, 0.0f, 10.0f};
  for (int axis = 0; axis < 3; ++axis) {
    for (const auto& [at, in] : {std::pair{0.0f, true}, {10.0f, true}, {-0.5f, false}, {10.5f, false}}) {
      float p[3] = {5, 5, 5};
      p[axis] = at;
      EXPECT_EQ(c.ContainsPoint(s.vertices, s.Vertex(p[0], p[1], p[2])), in) << axis << " " << at;
    }
  }
  const float ulp = std::nextafter(1.0f, 2.0f) - 1.0f;
  EXPECT_FALSE((Cube{1, 0, 0, 0.75f * ulp}.ContainsPoint(s.vertices, s.Vertex(1 + ulp, 0, 0))));
  EXPECT_FALSE(c.ContainsPoint(s.vertices, 99));  // no such vertex
  const uint32_t a = s.Vertex(-50, 1, 1), b = s.Vertex(50, 1, -50), far = s.Vertex(50, 1, 50);
  s.Triangle(a, b, 0);    // one corner inside
  s.Triangle(a, b, far);  // passes through the cube with no corner in it
  EXPECT_EQ(c.ContainsTriangle(s.vertices, &s.triangles[0]), TriangleInCube::kBelongs);
  EXPECT_EQ(c.ContainsTriangle(s.vertices, &s.triangles[1]), TriangleInCube::kOutside);
  EXPECT_EQ(c.ContainsTriangle(s.vertices, nullptr), TriangleInCube::kNoTriangle);
  const auto k = Cube{1.0f, 2.0f, 3.0f, 8.0f}.Split();
  const std::array<float, 4> halves[8] = {{5, 2, 7, 4}, {1, 2, 7, 4}, {5, 6, 7, 4}, {1, 6, 7, 4},
                                          {5, 2, 3, 4}, {1, 2, 3, 4}, {5, 6, 3, 4}, {1, 6, 3, 4}};
  for (int i = 0; i < 8; ++i)
    EXPECT_EQ((std::array<float, 4>{k[i].x, k[i].y, k[i].z, k[i].size}), halves[i]) << i;
}

// The tree as text: per node its triangle numbers or, in brackets, its children.
std::string Describe(const OctreeNode& node) {
  std::string out;
  for (int k = 0; node.HasChildren() && k < 8; ++k) out += "[" + Describe(node.Child(k)) + "]";
  for (const TerrainTriangle* t : node.Triangles()) out += std::to_string(t->number) + " ";
  return out;
}

// The same from the plain rule: a triangle belongs to every cube holding one of its corners.
std::string DescribeByRule(std::span<const TerrainTriangle* const> input, const Cube& cube,
                           const testgrid::Grid& g) {
  std::vector<const TerrainTriangle*> mine;
  std::copy_if(input.begin(), input.end(), std::back_inserter(mine),
               [&](auto* t) { return cube.ContainsTriangle(g.vertices, t) == TriangleInCube::kBelongs; });
  std::string out;
  const bool split = mine.size() >= OctreeMaxTriangles && cube.size >= OctreeMinCubeSize;
  for (const Cube& child : cube.Split()) out += split ? "[" + DescribeByRule(mine, child, g) + "]" : "";
  for (const TerrainTriangle* t : mine) out += split ? "" : std::to_string(t->number) + " ";
  return out;
}

// A node splits when it holds at least 20 triangles and its edge is at least 20; an unbounded edge never
// splits. A leaf keeps its triangles in input order, null and broken ones left out.
TEST(Octree, SplitRuleAndBuildSortLikeThePlainRuleAndRebuild) {
  const std::tuple<int, float, bool> cases[] = {{19, 1000, false}, {20, 20, true},        {20, 19.99f, false},
                                                {3000, 19, false}, {25, INFINITY, false}, {25, 1e38f, true},
                                                {0, 100, false}};
  for (const auto& [triangles, edge, split] : cases) {
    SCOPED_TRACE(testing::Message() << triangles << " in " << edge);
    testgrid::Grid s;
    s.Cluster(triangles, 3.0f, 3.0f, 3.0f);
    auto input = s.Pointers();
    input.insert(input.begin(), nullptr);
    const TerrainTriangle broken{1u << 30, 1u << 30, 1u << 30, {}, 0};
    input.push_back(&broken);
    OctreeNode node;
    node.Build(input, {0.0f, 0.0f, 0.0f, edge}, s.vertices);
    EXPECT_EQ(node.HasChildren(), split);
    EXPECT_EQ(node.CountTriangles(), triangles);
    EXPECT_EQ((split ? node.Child(5) : node).CountTriangles(), triangles);  // the minimum-corner child
    ASSERT_EQ(node.TriangleCount(), split ? 0 : triangles);
    for (int i = 0; !split && i < triangles; ++i) EXPECT_EQ(node.Triangles()[i], &s.triangles[i]);
  }
  // Grids flat, rolling, with cliffs and sloped, from one cell to more than the root's first split; a
  // second build on the same root replaces the first.
  const std::function<int(int, int)> shapes[] = {
      [](int, int) { return 0; },
      [](int c, int r) { return static_cast<int>(127 + 120 * std::sin(c * 0.3) * std::cos(r * 0.2)); },
      [](int c, int r) { return (c / 5 + r / 7) % 2 ? 255 : 0; }, [](int c, int) { return c * 37 % 256; }};
  OctreeNode root;
  for (const auto& [w, d] : {std::pair{2, 2}, {17, 9}, {33, 33}, {64, 40}}) {
    for (size_t s = 0; s < std::size(shapes); ++s) {
      SCOPED_TRACE(testing::Message() << w << "x" << d << " shape " << s);
      const testgrid::Grid g = testgrid::MakeGrid(w, d, shapes[s]);
      testgrid::BuildOctree(root, g);
      EXPECT_EQ(Describe(root), DescribeByRule(g.Pointers(), *root.GetCube(), g));
    }
  }
  EXPECT_GT(root.CountTriangles(), 2 * 63 * 39);  // triangles on split planes count once per leaf
}

TEST(IndexList, AppendsWithinItsCapacityAndTheTriangleArray) {
  const testgrid::Grid g = testgrid::MakeGrid(3, 2);  // four triangles
  IndexList list;
  ASSERT_TRUE(list.Allocate(2, g.triangles.data(), 4));
  EXPECT_EQ(list.CapacityIndices(), 6);
  EXPECT_TRUE(list.AddTriangleByNumber(3));
  EXPECT_FALSE(list.AddTriangleByNumber(4));  // no such triangle
  EXPECT_TRUE(list.AddTriangle(g.triangles[0]));
  EXPECT_FALSE(list.AddTriangleByNumber(1));  // full
  EXPECT_EQ(std::vector<uint32_t>(list.Indices(), list.Indices() + list.Count()),
            (std::vector<uint32_t>{5, 2, 4, 0, 3, 1}));
  list.Clear();
  EXPECT_TRUE(list.AddTriangleByNumber(0));
  for (int bad : {-1, INT_MAX}) {
    EXPECT_FALSE(list.Allocate(bad, g.triangles.data(), 4)) << bad;
    EXPECT_EQ(list.Count() + list.CapacityIndices() + list.CapacityTriangles(), 0) << bad;
    EXPECT_FALSE(list.AddTriangle(g.triangles[0]));
  }
  list.Allocate(5, nullptr, 4);
  EXPECT_FALSE(list.AddTriangleByNumber(0));
}

}  // namespace
