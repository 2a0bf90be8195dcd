// Tests for the terrain mesh records and the visible-index list.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "geometry/TerrainMesh.h"

namespace {

std::vector<TerrainTriangle> Triangles(int n) {
  std::vector<TerrainTriangle> t(n);
  for (int i = 0; i < n; ++i) {
    t[i].a = 10 * i;
    t[i].b = 10 * i + 1;
    t[i].c = 10 * i + 2;
    t[i].number = i;
  }
  return t;
}

TEST(TerrainMesh, RecordDefaults) {
  TerrainVertex v;
  EXPECT_EQ(v.position.y, 0.0f);
  EXPECT_EQ(v.colour[2], 0);
  EXPECT_EQ(v.normal.w, 1.0f);
  EXPECT_EQ(v.normal.x, 0.0f);
  EXPECT_EQ(v.t, 0.0f);
  TerrainTriangle t;
  EXPECT_EQ(t.number, 0u);
  EXPECT_EQ(t.normal.z, 0.0f);
}

TEST(IndexList, AppendsVertexNumbersByTriangleNumber) {
  const auto tris = Triangles(4);
  IndexList list;
  ASSERT_TRUE(list.Allocate(3, tris.data(), 4));
  EXPECT_EQ(list.CapacityIndices(), 9);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_TRUE(list.AddTriangleByNumber(2));
  EXPECT_TRUE(list.AddTriangle(tris[0]));
  ASSERT_EQ(list.Count(), 6);
  const uint32_t expected[] = {20, 21, 22, 0, 1, 2};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(list.Indices()[i], expected[i]);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.CapacityTriangles(), 3);
}

TEST(IndexList, NeverWritesPastItsCapacityOrTheTriangleArray) {
  const auto tris = Triangles(4);
  IndexList list;
  list.Allocate(2, tris.data(), 4);
  EXPECT_TRUE(list.AddTriangleByNumber(0));
  EXPECT_TRUE(list.AddTriangleByNumber(1));
  EXPECT_FALSE(list.AddTriangleByNumber(3));  // full
  EXPECT_EQ(list.Count(), 6);
  list.Clear();
  EXPECT_FALSE(list.AddTriangleByNumber(4));  // no such triangle
  EXPECT_EQ(list.Count(), 0);

  IndexList empty;
  EXPECT_FALSE(empty.AddTriangleByNumber(0));
  EXPECT_FALSE(empty.AddTriangle(tris[0]));
  empty.Allocate(5, nullptr, 4);
  EXPECT_FALSE(empty.AddTriangleByNumber(0));
}

TEST(IndexList, ReallocateReplacesStorageAndRejectsBadCapacities) {
  const auto tris = Triangles(2);
  IndexList list;
  list.Allocate(1, tris.data(), 2);
  list.AddTriangleByNumber(1);
  list.Allocate(2, tris.data(), 2);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.CapacityIndices(), 6);
  EXPECT_FALSE(list.Allocate(-1, tris.data(), 2));
  EXPECT_EQ(list.CapacityIndices(), 0);
  EXPECT_FALSE(list.Allocate(INT_MAX, tris.data(), 2));
  EXPECT_EQ(list.CapacityIndices(), 0);
  EXPECT_FALSE(list.AddTriangleByNumber(0));
}

}  // namespace
