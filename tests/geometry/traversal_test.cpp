// Tests for the per-frame octree walk and the debug boxes
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <vector>

#include "geometry/Camera.h"
#include "geometry/Frustum.h"
#include "geometry/Octree.h"
#include "geometry/TestGrid.h"
#include "support/GLTest.h"

namespace {

const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// glFrustum(-r, r, -r, r, 1, 1000) as a column-major array.
void Perspective(float p[16], float r = 0.5f) {
  for (int i = 0; i < 16; ++i) p[i] = 0.0f;
  p[0] = 1.0f / r;
  p[5] = 1.0f / r;
  p[10] = -1001.0f / 999.0f;
  p[11] = -1.0f;
  p[14] = -2000.0f / 999.0f;
}

// glOrtho(-s, s, -s, s, -s, s): a box around the origin.
void Ortho(float p[16], float s) {
  for (int i = 0; i < 16; ++i) p[i] = 0.0f;
  p[0] = p[5] = 1.0f / s;
  p[10] = -1.0f / s;
  p[15] = 1.0f;
}

Frustum FrustumFor(const float projection[16], const Camera& cam) {
  Frustum f;
  f.SetFromMatrices(projection, cam.matrix.m);
  return f;
}

struct World {
  testgrid::Grid grid;
  OctreeNode root;
  IndexList list;
  explicit World(int size)
      : grid(testgrid::MakeGrid(size, size, [](int c, int r) { return (c ^ r) & 255; })) {
    testgrid::BuildOctree(root, grid);
    list.Allocate(root.CountTriangles(), grid.triangles.data(), static_cast<int>(grid.triangles.size()));
  }
};

// Depth-first leaf order with the leaf arrays' order: what a walk that rejects nothing collects.
void AllLeafIndices(const OctreeNode& n, const testgrid::Grid& g, std::vector<uint32_t>& out) {
  if (n.HasChildren()) {
    for (int k = 0; k < 8; ++k) AllLeafIndices(n.Child(k), g, out);
    return;
  }
  for (const TerrainTriangle* t : n.Triangles()) out.insert(out.end(), {t->a, t->b, t->c});
}

std::vector<uint32_t> Collected(const IndexList& list) {
  return {list.Indices(), list.Indices() + list.Count()};
}

TEST(Traversal, WholeTerrainInViewCollectsEveryLeafEntry) {
  World w(40);
  ASSERT_TRUE(w.root.HasChildren());
  float p[16];
  Ortho(p, 1000.0f);
  Camera cam;
  cam.Update();
  const Frustum f = FrustumFor(p, cam);
  ASSERT_EQ(f.TestCube(*w.root.GetCube()), CubeVisibility::kInside);
  w.root.CollectVisible(&f, w.list, {});
  EXPECT_EQ(w.list.Count(), 3 * w.root.CountTriangles());
  std::vector<uint32_t> expected;
  AllLeafIndices(w.root, w.grid, expected);
  EXPECT_EQ(Collected(w.list), expected);

  // A null frustum means the same: everything below is inside.
  w.list.Clear();
  w.root.CollectVisible(nullptr, w.list, {});
  EXPECT_EQ(Collected(w.list), expected);
}

TEST(Traversal, LookingAwayCollectsNothing) {
  World w(40);
  float p[16];
  Perspective(p);
  Camera cam;
  cam.position.Set(-32.0f, -100.0f, -32.0f);  // eye above the middle of the grid and its root cube
  cam.angleX = -90.0f;                        // looking straight up
  cam.Update();
  const Frustum f = FrustumFor(p, cam);
  EXPECT_EQ(f.TestCube(*w.root.GetCube()), CubeVisibility::kOutside);
  w.root.CollectVisible(&f, w.list, {});
  EXPECT_EQ(w.list.Count(), 0);
}

TEST(Traversal, PartialViewKeepsOnlyLeavesNotOutside) {
  World w(64);
  float p[16];
  Perspective(p, 0.2f);
  Camera cam;
  cam.position.Set(-20.0f, -60.0f, -20.0f);  // eye at (20, 60, 20) over one corner
  cam.angleX = 90.0f;                        // looking straight down
  cam.Update();
  const Frustum f = FrustumFor(p, cam);
  w.root.CollectVisible(&f, w.list, {});
  const int total = 3 * w.root.CountTriangles();
  EXPECT_GT(w.list.Count(), 0);
  EXPECT_LT(w.list.Count(), total / 4);

  // Exactly the leaves whose cubes are not outside (walking only below cubes not outside).
  std::vector<uint32_t> expected;
  std::function<void(const OctreeNode&)> walk = [&](const OctreeNode& n) {
    if (n.TriangleCount() == 0 && !n.HasChildren()) return;
    if (f.TestCube(*n.GetCube()) == CubeVisibility::kOutside) return;
    if (n.HasChildren()) {
      for (int k = 0; k < 8; ++k) walk(n.Child(k));
      return;
    }
    for (const TerrainTriangle* t : n.Triangles()) expected.insert(expected.end(), {t->a, t->b, t->c});
  };
  walk(w.root);
  EXPECT_EQ(std::multiset<uint32_t>(expected.begin(), expected.end()),
            std::multiset<uint32_t>(w.list.Indices(), w.list.Indices() + w.list.Count()));

  // The vertex straight below the eye is drawn; the far corner of the grid is not.
  const std::set<uint32_t> drawn(w.list.Indices(), w.list.Indices() + w.list.Count());
  EXPECT_TRUE(drawn.count(12 * 64 + 12));
  EXPECT_FALSE(drawn.count(63 * 64 + 63));
}

TEST(Traversal, RootLeafIsAllOrNothing) {
  World w(4);  // 18 triangles: fewer than the split threshold
  ASSERT_FALSE(w.root.HasChildren());
  float p[16];
  Ortho(p, 5.0f);  // covers the grid's corner at the origin, not the whole root cube
  Camera cam;
  cam.Update();
  const Frustum f = FrustumFor(p, cam);
  ASSERT_EQ(f.TestCube(*w.root.GetCube()), CubeVisibility::kIntersecting);
  w.root.CollectVisible(&f, w.list, {});
  EXPECT_EQ(w.list.Count(), 3 * 18);

  Frustum never;
  w.list.Clear();
  w.root.CollectVisible(&never, w.list, {});
  EXPECT_EQ(w.list.Count(), 0);
}

TEST(Traversal, AFullListDropsTheRestInsteadOfOverrunning) {
  World w(40);
  IndexList small;
  small.Allocate(10, w.grid.triangles.data(), static_cast<int>(w.grid.triangles.size()));
  w.root.CollectVisible(nullptr, small, {});
  EXPECT_EQ(small.Count(), 30);
}

// Feedback parsing: each GL_LINE_TOKEN / GL_LINE_RESET_TOKEN is followed by two vertices of
// 3 + 4 + 4 floats (window x, y, z; colour; texture coordinates).
struct Line {
  float from[3], to[3];
  float r, g, b;
};

std::vector<Line> Lines(const std::vector<float>& fb) {
  std::vector<Line> lines;
  for (size_t i = 0; i < fb.size();) {
    const int token = static_cast<int>(fb[i]);
    if (token != GL_LINE_TOKEN && token != GL_LINE_RESET_TOKEN) {
      ADD_FAILURE() << "unexpected token " << token;
      break;
    }
    Line l{};
    for (int k = 0; k < 3; ++k) {
      l.from[k] = fb[i + 1 + k];
      l.to[k] = fb[i + 12 + k];
    }
    l.r = fb[i + 4];
    l.g = fb[i + 5];
    l.b = fb[i + 6];
    lines.push_back(l);
    i += 23;
  }
  return lines;
}

class TraversalGL : public testsupport::GLTest {
 protected:
  // World coordinates map to window coordinates unchanged in x and y; z maps to depth (1 - z/100)/2.
  void SetUp() override {
    GLTest::SetUp();
    glViewport(0, 0, 256, 256);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 256, 0, 256, -100, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
  }
};

TEST_F(TraversalGL, DrawEdgesGivesTwelveEdgesInOrder) {
  const Cube c{10.0f, 20.0f, 30.0f, 8.0f};
  const auto lines = Lines(testsupport::CaptureFeedback([&] { c.DrawEdges(); }));
  ASSERT_EQ(lines.size(), 12u);
  const float x = 10, y = 20, z = 30, X = 18, Y = 28, Z = 38;
  const float expected[12][6] = {{x, y, z, X, y, z}, {x, y, z, x, Y, z}, {x, y, z, x, y, Z},
                                 {X, Y, Z, x, Y, Z}, {X, Y, Z, X, y, Z}, {X, Y, Z, X, Y, z},
                                 {x, y, Z, x, Y, Z}, {x, y, Z, X, y, Z}, {X, y, z, X, Y, z},
                                 {X, y, z, X, y, Z}, {x, Y, z, x, Y, Z}, {x, Y, z, X, Y, z}};
  auto depth = [](float zw) { return (1.0f - zw / 100.0f) * 0.5f; };
  for (int i = 0; i < 12; ++i) {
    EXPECT_NEAR(lines[i].from[0], expected[i][0], 1e-3f) << i;
    EXPECT_NEAR(lines[i].from[1], expected[i][1], 1e-3f) << i;
    EXPECT_NEAR(lines[i].from[2], depth(expected[i][2]), 1e-5f) << i;
    EXPECT_NEAR(lines[i].to[0], expected[i][3], 1e-3f) << i;
    EXPECT_NEAR(lines[i].to[1], expected[i][4], 1e-3f) << i;
    EXPECT_NEAR(lines[i].to[2], depth(expected[i][5]), 1e-5f) << i;
  }
}

// A root of edge 40 split once, with 10 triangles in child 5, 25 in child 2 and the rest empty.
struct BoxTree {
  std::vector<TerrainVertex> vertices;
  std::vector<TerrainTriangle> triangles;
  std::vector<const TerrainTriangle*> pointers;
  OctreeNode root;
  BoxTree() {
    auto cluster = [&](int n, float x, float y, float z) {
      for (int i = 0; i < n; ++i) {
        TerrainVertex v;
        v.position.Set(x, y, z);
        vertices.push_back(v);
        const uint32_t k = static_cast<uint32_t>(vertices.size() - 1);
        triangles.push_back({k, k, k, {}, static_cast<uint32_t>(triangles.size())});
      }
    };
    cluster(10, 5.0f, 5.0f, 5.0f);
    cluster(25, 30.0f, 30.0f, 30.0f);  // edge 20 with 25 triangles: child 2 splits again into edge 10
    for (const auto& t : triangles) pointers.push_back(&t);
    root.Build(pointers, {0.0f, 0.0f, 0.0f, 40.0f}, vertices);
  }
};

TEST_F(TraversalGL, DrawBoundsShadesByCountAndHidesEmptyNodes) {
  BoxTree t;
  const OctreeNode& leaf = t.root.Child(5);
  ASSERT_EQ(leaf.TriangleCount(), 10);
  glEnable(GL_LIGHTING);
  const auto lines = Lines(testsupport::CaptureFeedback([&] { leaf.DrawBounds({true, false}); }));
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_FLOAT_EQ(lines[0].r, 1.0f);
  EXPECT_FLOAT_EQ(lines[0].g, 0.5f);
  EXPECT_FLOAT_EQ(lines[0].b, 0.5f);
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));  // restored by the attribute pop

  // The whole tree: the root, 8 children and the 8 grandchildren below child 2.
  EXPECT_EQ(Lines(testsupport::CaptureFeedback([&] { t.root.DrawBounds({true, false}); })).size(), 12u * 17u);
  // Hiding empty nodes leaves the non-empty leaves only: child 5 and one grandchild of child 2 (the
  // cluster sits on its inner corner at (30, 30, 30), so in all eight grandchildren).
  const auto shown = Lines(testsupport::CaptureFeedback([&] { t.root.DrawBounds({true, true}); }));
  EXPECT_EQ(shown.size(), 12u * (1 + 8));
  for (const Line& l : shown) EXPECT_LT(l.g, 1.0f);
}

TEST_F(TraversalGL, CollectVisibleDrawsTheBoxesItReaches) {
  BoxTree t;
  IndexList list;
  list.Allocate(t.root.CountTriangles(), t.triangles.data(), static_cast<int>(t.triangles.size()));
  // A view that holds child 5 (0..20 cubed) but not the far octants.
  Frustum f;
  const float p[16] = {1.0f / 10, 0, 0, 0, 0, 1.0f / 10, 0, 0, 0, 0, -1.0f / 10, 0, -1, -1, 0, 1};
  f.SetFromMatrices(p, kIdentity);  // the box x, y in (0, 20), z in (-10, 10)
  ASSERT_EQ(f.TestCube(*t.root.Child(2).GetCube()), CubeVisibility::kOutside);

  const auto withBoxes = Lines(testsupport::CaptureFeedback([&] {
    t.root.CollectVisible(&f, list, {true, false});
  }));
  const std::vector<uint32_t> collected = Collected(list);
  EXPECT_EQ(list.Count(), 3 * 10);
  // Six empty children are reached and drawn white without a test; child 5 is drawn pink; child 2's
  // subtree is outside and draws nothing.
  ASSERT_EQ(withBoxes.size(), 12u * 7u);
  int pink = 0, white = 0;
  for (size_t i = 0; i < withBoxes.size(); i += 12) {
    if (withBoxes[i].g == 1.0f) {
      ++white;
    } else if (withBoxes[i].g == 0.5f) {
      ++pink;
    }
  }
  EXPECT_EQ(white, 6);
  EXPECT_EQ(pink, 1);
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));

  // The display switches never change what is collected.
  list.Clear();
  const auto hidden = Lines(testsupport::CaptureFeedback([&] {
    t.root.CollectVisible(&f, list, {true, true});
  }));
  EXPECT_EQ(hidden.size(), 12u);
  EXPECT_EQ(Collected(list), collected);
  list.Clear();
  EXPECT_TRUE(testsupport::CaptureFeedback([&] { t.root.CollectVisible(&f, list, {}); }).empty());
  EXPECT_EQ(Collected(list), collected);
}

TEST_F(TraversalGL, AClearedNodeDrawsNothing) {
  BoxTree t;
  t.root.Clear();
  IndexList list;
  EXPECT_TRUE(testsupport::CaptureFeedback([&] {
                t.root.DrawBounds({true, false});
                t.root.CollectVisible(nullptr, list, {true, false});
              }).empty());
}

}  // namespace
