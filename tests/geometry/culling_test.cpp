// Culling: the frustum's planes and cube test, the octree walk, and the wire boxes it draws
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <set>

#include "geometry/Frustum.h"
#include "geometry/TestGrid.h"
#include "support/GLTest.h"

namespace {

using Matrix = std::array<float, 16>;  // column-major, as GL keeps it
const Matrix kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// glFrustum(-r, r, -r, r, 1, far).
Matrix Perspective(float r, float far) {
  return {1 / r, 0, 0, 0, 0, 1 / r, 0, 0, 0, 0, (far + 1) / (1 - far), -1, 0, 0, 2 * far / (1 - far), 0};
}

// The view through `projection` from the origin, looking along -z.
Frustum View(const Matrix& projection) {
  Frustum f;
  f.SetFromMatrices(projection.data(), kIdentity.data());
  return f;
}

// In glFrustum(-1, 1, -1, 1, 1, 10) the point (1, 0.5, -4) lies at these signed distances inside the
// right, left, bottom, top, far and near planes; a singular or infinite projection gives zero planes, not
// NaNs.
TEST(Frustum, PlanesComeInTableOrderAsSignedDistancesAndClassifyCubesStrictlyAndConservatively) {
  const double distances[6] = {3 * M_SQRT1_2, 5 * M_SQRT1_2, 4.5 * M_SQRT1_2, 3.5 * M_SQRT1_2, 6, 3};
  Matrix infinite;
  infinite.fill(INFINITY);
  const Frustum view = View(Perspective(1, 10)), singular = View(Matrix{}), broken = View(infinite);
  for (int i = 0; i < Frustum::kPlaneCount; ++i) {
    const float* p = view.Plane(i);
    EXPECT_NEAR(p[0] * 1.0 + p[1] * 0.5 - p[2] * 4.0 + p[3], distances[i], 1e-5) << i;
    for (int k = 0; k < 4; ++k) EXPECT_EQ(singular.Plane(i)[k] + broken.Plane(i)[k], 0.0f) << i;
  }
  // With both matrices the identity the view is the open box (-1, 1) in x, y and z.
  const Frustum box = View(kIdentity), never;
  const std::tuple<const char*, const Frustum&, Cube, CubeVisibility> cases[] = {
      {"inside", box, {-0.5f, -0.5f, -0.5f, 1}, CubeVisibility::kInside},
      {"across the right plane", box, {0.5f, -0.5f, -0.5f, 1}, CubeVisibility::kIntersecting},
      {"beyond far", box, {-0.5f, -0.5f, 1.5f, 1}, CubeVisibility::kOutside},
      {"behind near", box, {-0.5f, -0.5f, -3, 1}, CubeVisibility::kOutside},
      {"face on the right plane", box, {1, -0.5f, -0.5f, 1}, CubeVisibility::kOutside},
      {"touching from inside", box, {0, -0.5f, -0.5f, 1}, CubeVisibility::kIntersecting},
      {"point inside", box, {0.25f, 0.25f, 0.25f, 0}, CubeVisibility::kInside},
      // Beyond the corner where the far and right planes meet, yet not wholly behind either.
      {"beyond a corner", view, {10, -1, -11, 2}, CubeVisibility::kIntersecting},
      {"behind the eye", view, {-0.5f, -0.5f, 0, 1}, CubeVisibility::kOutside},
      {"never updated", never, {-1000, -1000, -1000, 2000}, CubeVisibility::kOutside},
  };
  for (const auto& [what, frustum, cube, expected] : cases)
    EXPECT_EQ(frustum.TestCube(cube), expected) << what;
}

class Boxes : public testsupport::GLTest {};

// World x and y are window x and y; world z is depth (1 - z / 100) / 2.
TEST_F(Boxes, AreTheCubesTwelveEdgesShadedByTriangleCountAndDrawnForTheLeavesTheWalkReaches) {
  glMatrixMode(GL_PROJECTION);
  glOrtho(0, 256, 0, 256, -100, 100);
  glMatrixMode(GL_MODELVIEW);
  using Corner = std::array<long, 3>;
  const auto corner = [](int a) { return Corner{10 + 8 * (a & 1), 20 + 4 * (a & 2), 30 + 2 * (a & 4)}; };
  const auto end = [](const testsupport::FeedbackVertex& v) {
    return Corner{std::lround(v.x), std::lround(v.y), std::lround(100 - 200 * v.z)};
  };
  std::set<std::pair<Corner, Corner>> drawn, edges;
  for (int a = 0; a < 8; ++a)
    for (int axis = 0; axis < 3; ++axis) edges.insert(std::minmax(corner(a), corner(a ^ 1 << axis)));
  const auto lines = testsupport::CaptureLines([] { Cube{10.0f, 20.0f, 30.0f, 8.0f}.DrawEdges(); });
  for (const auto& l : lines) drawn.insert(std::minmax(end(l[0]), end(l[1])));
  EXPECT_EQ(lines.size(), 12u);
  EXPECT_EQ(drawn, edges);
  // The green of each box drawn (12 lines, all of one colour): 1 for an empty node down to 0 at 20
  // triangles and beyond; red is always 1.
  const auto greensOf = [](const std::function<void()>& draw) {
    const auto lines = testsupport::CaptureLines(draw);
    std::vector<float> greens;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (i % 12 == 0) greens.push_back(lines[i][0].color[1]);
      EXPECT_EQ(lines[i][1].color, (std::array<float, 4>{1, greens.back(), greens.back(), 1}));
    }
    EXPECT_EQ(lines.size() % 12, 0u);
    return greens;
  };
  // A root of edge 40 split once: 10 triangles in child 5 (a leaf), 25 in child 2, whose cluster sits on
  // the inner corner of its eight children of edge 10 and so is in all of them.
  testgrid::Grid tree;
  tree.Cluster(10, 5.0f, 5.0f, 5.0f);
  tree.Cluster(25, 30.0f, 30.0f, 30.0f);
  OctreeNode root;
  root.Build(tree.Pointers(), {0.0f, 0.0f, 0.0f, 40.0f}, tree.vertices);
  const OctreeNode& leaf = root.Child(5);
  // A leaf of 10 triangles is pink; hiding empty nodes leaves the eight grandchildren and child 5. The walk
  // draws the boxes of the leaves it reaches: the empty children white without a test, child 5 pink; child
  // 2 is outside. The display switches never change what is collected; a cleared tree draws nothing.
  glEnable(GL_LIGHTING);  // never tints them
  IndexList list;
  list.Allocate(root.CountTriangles(), tree.triangles.data(), static_cast<int>(tree.triangles.size()));
  const Frustum f = View({0.1f, 0, 0, 0, 0, 0.1f, 0, 0, 0, 0, -0.1f, 0, -1, -1, 0, 1});  // x, y in (0, 20)
  // The node, whether it is walked (CollectVisible, else DrawBounds), the display switches, the greens.
  const std::tuple<const OctreeNode&, bool, OctreeDisplay, std::vector<float>> cases[] = {
      {leaf, false, {true, false}, {0.5f}},
      {root, false, {true, false}, {1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0.5f, 1, 1}},
      {root, false, {true, true}, {0, 0, 0, 0, 0, 0, 0, 0, 0.5f}},
      {root, true, {true, false}, {1, 1, 1, 1, 0.5f, 1, 1}},
      {root, true, {true, true}, {0.5f}},
      {root, true, {false, false}, {}}};
  for (const auto& [node, walk, display, greens] : cases) {
    list.Clear();
    EXPECT_EQ(greensOf([&] { walk ? node.CollectVisible(&f, list, display) : node.DrawBounds(display); }),
              greens);
    EXPECT_EQ(list.Count(), walk ? 30 : 0);
  }
  root.Clear();
  EXPECT_TRUE(greensOf([&] {
                root.DrawBounds({true, false}), root.CollectVisible(nullptr, list, {true, false});
              }).empty());
}

}  // namespace
