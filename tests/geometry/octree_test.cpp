// Tests for the octree build: containment, split order and rule, shared triangles, rebuilds
#include "geometry/Octree.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <vector>

#include "geometry/TestGrid.h"

namespace {

// Free-standing triangles over a vertex list, numbered in order.
struct Soup {
  std::vector<TerrainVertex> vertices;
  std::vector<TerrainTriangle> triangles;
  std::vector<const TerrainTriangle*> pointers;

  uint32_t Vertex(float x, float y, float z) {
    TerrainVertex v;
    v.position.Set(x, y, z);
    vertices.push_back(v);
    return static_cast<uint32_t>(vertices.size() - 1);
  }
  void Triangle(uint32_t a, uint32_t b, uint32_t c) {
    triangles.push_back({a, b, c, {}, static_cast<uint32_t>(triangles.size())});
  }
  // n small triangles with all corners at (x, y, z).
  void Cluster(int n, float x, float y, float z) {
    for (int i = 0; i < n; ++i) {
      const uint32_t v = Vertex(x, y, z);
      Triangle(v, v, v);
    }
  }
  std::span<const TerrainTriangle* const> Pointers() {
    pointers.clear();
    for (const TerrainTriangle& t : triangles) pointers.push_back(&t);
    return pointers;
  }
};

void CollectLeaves(const OctreeNode& node, int depth, std::vector<std::pair<const OctreeNode*, int>>& out) {
  if (!node.HasChildren()) {
    out.push_back({&node, depth});
    return;
  }
  for (int k = 0; k < 8; ++k) CollectLeaves(node.Child(k), depth + 1, out);
}

TEST(Cube, ContainsPointIncludesFacesAndComparesUnrounded) {
  Soup s;
  const uint32_t inside = s.Vertex(5.0f, 5.0f, 5.0f);
  const uint32_t onMaxFace = s.Vertex(10.0f, 3.0f, 3.0f);
  const uint32_t onMinCorner = s.Vertex(0.0f, 0.0f, 0.0f);
  const uint32_t outside = s.Vertex(5.0f, 10.5f, 5.0f);
  const Cube c{0.0f, 0.0f, 0.0f, 10.0f};
  EXPECT_TRUE(c.ContainsPoint(s.vertices, inside));
  EXPECT_TRUE(c.ContainsPoint(s.vertices, onMaxFace));
  EXPECT_TRUE(c.ContainsPoint(s.vertices, onMinCorner));
  EXPECT_FALSE(c.ContainsPoint(s.vertices, outside));
  EXPECT_FALSE(c.ContainsPoint(s.vertices, 99));  // no such vertex

  // 1 + 0.75 ulp rounds up to 1 + 1 ulp in float; the far face stays at the unrounded sum, so a vertex
  // at 1 + 1 ulp is outside.
  const float ulp = std::nextafter(1.0f, 2.0f) - 1.0f;
  const Cube thin{1.0f, 0.0f, 0.0f, 0.75f * ulp};
  ASSERT_EQ(thin.x + thin.size, 1.0f + ulp);
  const uint32_t beyond = s.Vertex(1.0f + ulp, 0.0f, 0.0f);
  EXPECT_FALSE(thin.ContainsPoint(s.vertices, beyond));
}

TEST(Cube, ContainsTriangleByAnyCorner) {
  Soup s;
  const uint32_t in = s.Vertex(1.0f, 1.0f, 1.0f);
  const uint32_t out1 = s.Vertex(-50.0f, 1.0f, 1.0f);
  const uint32_t out2 = s.Vertex(50.0f, 1.0f, -50.0f);
  const uint32_t out3 = s.Vertex(50.0f, 1.0f, 50.0f);
  s.Triangle(out1, out2, in);
  s.Triangle(out1, out2, out3);  // passes through the cube with no corner in it
  const Cube c{0.0f, 0.0f, 0.0f, 2.0f};
  EXPECT_EQ(c.ContainsTriangle(s.vertices, &s.triangles[0]), TriangleInCube::kBelongs);
  EXPECT_EQ(c.ContainsTriangle(s.vertices, &s.triangles[1]), TriangleInCube::kOutside);
  EXPECT_EQ(c.ContainsTriangle(s.vertices, nullptr), TriangleInCube::kNoTriangle);
  TerrainTriangle broken{7, 8, 9, {}, 0};
  EXPECT_EQ(c.ContainsTriangle(s.vertices, &broken), TriangleInCube::kOutside);
}

TEST(Cube, SplitOrder) {
  const Cube c{1.0f, 2.0f, 3.0f, 8.0f};
  const auto k = c.Split();
  const float expected[8][3] = {{5, 2, 7}, {1, 2, 7}, {5, 6, 7}, {1, 6, 7},
                                {5, 2, 3}, {1, 2, 3}, {5, 6, 3}, {1, 6, 3}};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(k[i].x, expected[i][0]) << i;
    EXPECT_EQ(k[i].y, expected[i][1]) << i;
    EXPECT_EQ(k[i].z, expected[i][2]) << i;
    EXPECT_EQ(k[i].size, 4.0f);
  }
}

TEST(Octree, SplitRuleAtNineteenAndTwentyTriangles) {
  Soup s;
  s.Cluster(19, 3.0f, 3.0f, 3.0f);
  OctreeNode leaf;
  leaf.Build(s.Pointers(), {0.0f, 0.0f, 0.0f, 1000.0f}, s.vertices);
  EXPECT_FALSE(leaf.HasChildren());
  EXPECT_EQ(leaf.TriangleCount(), 19);
  for (int i = 0; i < 19; ++i) EXPECT_EQ(leaf.Triangles()[i], &s.triangles[i]);  // input order

  s.Cluster(1, 3.0f, 3.0f, 3.0f);
  OctreeNode split;
  split.Build(s.Pointers(), {0.0f, 0.0f, 0.0f, 20.0f}, s.vertices);
  ASSERT_TRUE(split.HasChildren());
  EXPECT_EQ(split.TriangleCount(), 0);
  EXPECT_TRUE(split.Triangles().empty());
  EXPECT_EQ(split.CountTriangles(), 20);
  // The edge-10 children are below the minimum size: the one holding the cluster stays a leaf with
  // all twenty; the other seven are empty leaves.
  int full = 0;
  for (int k = 0; k < 8; ++k) {
    const OctreeNode& child = split.Child(k);
    EXPECT_FALSE(child.HasChildren());
    EXPECT_EQ(child.GetCube()->size, 10.0f);
    if (child.TriangleCount() == 20) {
      ++full;
    } else {
      EXPECT_EQ(child.TriangleCount(), 0);
    }
  }
  EXPECT_EQ(full, 1);
  EXPECT_EQ(split.Child(5).TriangleCount(), 20);  // child 5 is the minimum-corner octant

  OctreeNode small;
  small.Build(s.Pointers(), {0.0f, 0.0f, 0.0f, 19.99f}, s.vertices);
  EXPECT_FALSE(small.HasChildren());
  EXPECT_EQ(small.TriangleCount(), 20);
}

TEST(Octree, BelowTheMinimumEdgeEvenThousandsStayInOneLeaf) {
  Soup s;
  s.Cluster(3000, 1.0f, 1.0f, 1.0f);
  OctreeNode node;
  node.Build(s.Pointers(), {0.0f, 0.0f, 0.0f, 19.0f}, s.vertices);
  EXPECT_FALSE(node.HasChildren());
  EXPECT_EQ(node.CountTriangles(), 3000);
}

TEST(Octree, EmptyCubeBecomesAnEmptyLeaf) {
  Soup s;
  s.Cluster(40, 500.0f, 500.0f, 500.0f);
  OctreeNode node;
  node.Build(s.Pointers(), {0.0f, 0.0f, 0.0f, 100.0f}, s.vertices);
  EXPECT_FALSE(node.HasChildren());
  EXPECT_EQ(node.TriangleCount(), 0);
  EXPECT_TRUE(node.Triangles().empty());
  EXPECT_EQ(node.Triangles().data(), nullptr);
  ASSERT_NE(node.GetCube(), nullptr);
  EXPECT_EQ(node.GetCube()->size, 100.0f);
}

TEST(Octree, TrianglesStraddlingASplitPlaneGoToBothSides) {
  Soup s;
  s.Cluster(20, 30.0f, 5.0f, 30.0f);  // forces the root (edge 40) to split; lands in child 0
  const uint32_t onPlane = s.Vertex(20.0f, 5.0f, 5.0f);  // on the plane x = x + h
  const uint32_t farA = s.Vertex(-30.0f, 50.0f, 5.0f);
  const uint32_t farB = s.Vertex(-30.0f, 60.0f, 5.0f);
  s.Triangle(onPlane, farA, farB);
  const TerrainTriangle* shared = &s.triangles.back();
  // Crosses child 7 (x 0..20, y 20..40, z 0..20) along y = 30 with no corner in it; q is in child 6.
  const uint32_t p = s.Vertex(-10.0f, 30.0f, 5.0f), q = s.Vertex(30.0f, 30.0f, 5.0f);
  const uint32_t r = s.Vertex(10.0f, 60.0f, 5.0f);
  s.Triangle(p, q, r);
  const TerrainTriangle* passing = &s.triangles.back();

  OctreeNode root;
  root.Build(s.Pointers(), {0.0f, 0.0f, 0.0f, 40.0f}, s.vertices);
  ASSERT_TRUE(root.HasChildren());
  auto holds = [](const OctreeNode& n, const TerrainTriangle* t) {
    for (const TerrainTriangle* u : n.Triangles()) {
      if (u == t) return true;
    }
    return false;
  };
  int holders = 0;
  for (int k = 0; k < 8; ++k) holders += holds(root.Child(k), shared) ? 1 : 0;
  EXPECT_EQ(holders, 2);
  EXPECT_TRUE(holds(root.Child(5), shared));  // x 0..20
  EXPECT_TRUE(holds(root.Child(4), shared));  // x 20..40
  EXPECT_FALSE(holds(root.Child(7), passing));
  EXPECT_TRUE(holds(root.Child(6), passing));
  EXPECT_TRUE(root.Child(7).Triangles().empty());
  // Child 0 splits again at edge 10; the cluster at (30, 5, 30) sits on the planes x = 30 and z = 30
  // and so in four grandchildren: 4 x 20 entries, plus the shared triangle twice and the passing once.
  ASSERT_TRUE(root.Child(0).HasChildren());
  EXPECT_EQ(root.CountTriangles(), 4 * 20 + 2 + 1);
}

TEST(Octree, CountTrianglesExceedsTheMeshWhenTrianglesStraddle) {
  const testgrid::Grid g = testgrid::MakeGrid(33, 33, [](int c, int r) { return (c * 7 + r * 13) % 256; });
  OctreeNode root;
  testgrid::BuildOctree(root, g);
  ASSERT_TRUE(root.HasChildren());
  EXPECT_GT(root.CountTriangles(), static_cast<int>(g.triangles.size()));

  // Every triangle sits in at least one leaf, and in exactly the leaves holding one of its corners.
  std::vector<std::pair<const OctreeNode*, int>> leaves;
  CollectLeaves(root, 0, leaves);
  std::vector<int> seen(g.triangles.size(), 0);
  for (const auto& [leaf, depth] : leaves) {
    for (const TerrainTriangle* t : leaf->Triangles()) {
      ++seen[t->number];
      EXPECT_EQ(leaf->GetCube()->ContainsTriangle(g.vertices, t), TriangleInCube::kBelongs);
    }
  }
  for (size_t i = 0; i < seen.size(); ++i) EXPECT_GE(seen[i], 1) << i;
}

TEST(Octree, GridRowsAndTriangleNumbering) {
  const testgrid::Grid g = testgrid::MakeGrid(2, 2);
  ASSERT_EQ(g.triangles.size(), 2u);
  EXPECT_EQ(g.triangles[0].a, 0u);
  EXPECT_EQ(g.triangles[0].b, 2u);
  EXPECT_EQ(g.triangles[0].c, 1u);
  EXPECT_EQ(g.triangles[1].a, 3u);
  EXPECT_EQ(g.triangles[1].b, 1u);
  EXPECT_EQ(g.triangles[1].c, 2u);
}

TEST(Octree, TerrainSizedGridSplitsFiveTimes) {
  const testgrid::Grid g = testgrid::MakeGrid(256, 256, [](int c, int r) { return (c * r) % 256; });
  ASSERT_EQ(g.triangles.size(), 130050u);
  const Cube rootCube = g.RootCube();
  EXPECT_EQ(rootCube.size, 409.6f);
  OctreeNode root;
  testgrid::BuildOctree(root, g);
  std::vector<std::pair<const OctreeNode*, int>> leaves;
  CollectLeaves(root, 0, leaves);
  int deepest = 0;
  std::set<float> leafSizes;
  for (const auto& [leaf, depth] : leaves) {
    deepest = std::max(deepest, depth);
    if (leaf->TriangleCount() > 0) leafSizes.insert(leaf->GetCube()->size);
    if (depth == 5) {
      EXPECT_EQ(leaf->GetCube()->size, 12.8f);
    }
  }
  EXPECT_EQ(deepest, 5);
  EXPECT_EQ(*leafSizes.begin(), 12.8f);
  EXPECT_GT(root.CountTriangles(), 130050);
}

TEST(Octree, ClearThenRebuildOnTheSameRoot) {
  const testgrid::Grid g = testgrid::MakeGrid(24, 24);
  OctreeNode root;
  testgrid::BuildOctree(root, g);
  const int count = root.CountTriangles();
  // A second build replaces the first (the window re-creation path).
  testgrid::BuildOctree(root, g);
  EXPECT_EQ(root.CountTriangles(), count);

  root.Clear();
  EXPECT_EQ(root.GetCube(), nullptr);
  EXPECT_FALSE(root.HasChildren());
  EXPECT_EQ(root.CountTriangles(), 0);
  root.Clear();  // twice is harmless
  // Building after Clear gets a cube again instead of writing through a freed one.
  testgrid::BuildOctree(root, g);
  ASSERT_NE(root.GetCube(), nullptr);
  EXPECT_EQ(root.CountTriangles(), count);
}

TEST(Octree, UnboundedCubesDoNotRecurseForever) {
  Soup s;
  s.Cluster(25, 1.0f, 1.0f, 1.0f);
  OctreeNode inf;
  inf.Build(s.Pointers(), {0.0f, 0.0f, 0.0f, std::numeric_limits<float>::infinity()}, s.vertices);
  EXPECT_FALSE(inf.HasChildren());
  EXPECT_EQ(inf.CountTriangles(), 25);
  OctreeNode nan;
  nan.Build(s.Pointers(), {0.0f, 0.0f, 0.0f, std::numeric_limits<float>::quiet_NaN()}, s.vertices);
  EXPECT_FALSE(nan.HasChildren());
  OctreeNode huge;  // finite: halves down to the minimum in about 125 levels
  huge.Build(s.Pointers(), {0.0f, 0.0f, 0.0f, 1e38f}, s.vertices);
  EXPECT_EQ(huge.CountTriangles(), 25);
}

TEST(Octree, NullAndBrokenTrianglesAreSkipped) {
  Soup s;
  s.Cluster(3, 1.0f, 1.0f, 1.0f);
  std::vector<const TerrainTriangle*> input(s.Pointers().begin(), s.Pointers().end());
  input.insert(input.begin() + 1, nullptr);
  TerrainTriangle broken{1000, 2000, 3000, {}, 3};
  input.push_back(&broken);
  OctreeNode node;
  node.Build(input, {0.0f, 0.0f, 0.0f, 10.0f}, s.vertices);
  EXPECT_EQ(node.TriangleCount(), 3);
}

}  // namespace
