// Tests for the view frustum: plane extraction, the strict cube test and agreement with GL's clipping
#include "geometry/Frustum.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/Camera.h"
#include "geometry/Octree.h"
#include "support/GLTest.h"

namespace {

const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// glFrustum(-1, 1, -1, 1, 1, 10) as a column-major array.
void Perspective(float p[16]) {
  for (int i = 0; i < 16; ++i) p[i] = 0.0f;
  p[0] = 1.0f;
  p[5] = 1.0f;
  p[10] = -11.0f / 9.0f;
  p[11] = -1.0f;
  p[14] = -20.0f / 9.0f;
}

// The unit box [-1, 1]^3 (open) when both matrices are the identity.
Frustum BoxFrustum() {
  Frustum f;
  f.SetFromMatrices(kIdentity, kIdentity);
  return f;
}

bool PointInside(const Frustum& f, float x, float y, float z) {
  for (int i = 0; i < Frustum::kPlaneCount; ++i) {
    const float* p = f.Plane(i);
    if (!(static_cast<double>(p[0]) * x + static_cast<double>(p[1]) * y + static_cast<double>(p[2]) * z +
              p[3] >
          0.0)) {
      return false;
    }
  }
  return true;
}

TEST(Frustum, NeverUpdatedRejectsEverything) {
  const Frustum f;
  EXPECT_EQ(f.TestCube({-1000.0f, -1000.0f, -1000.0f, 2000.0f}), CubeVisibility::kOutside);
  EXPECT_EQ(f.TestCube({0.0f, 0.0f, 0.0f, 0.0f}), CubeVisibility::kOutside);
  EXPECT_EQ(f.TestCube({1.0f, 2.0f, 3.0f, 4.0f}), CubeVisibility::kOutside);
}

TEST(Frustum, PlanesAreUnitAndInTableOrder) {
  const Frustum f = BoxFrustum();
  // right, left, bottom, top, far, near: inward normals of the box x < 1, x > -1, y > -1, y < 1,
  // z < 1, z > -1.
  const float normals[6][3] = {{-1, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, -1}, {0, 0, 1}};
  for (int i = 0; i < 6; ++i) {
    for (int k = 0; k < 3; ++k) EXPECT_EQ(f.Plane(i)[k], normals[i][k]) << i;
    EXPECT_EQ(f.Plane(i)[3], 1.0f) << i;
  }
  float p[16];
  Perspective(p);
  Frustum persp;
  persp.SetFromMatrices(p, kIdentity);
  for (int i = 0; i < 6; ++i) {
    const float* q = persp.Plane(i);
    EXPECT_NEAR(std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2]), 1.0, 1e-6) << i;
  }
  // Signed distance to the near plane z = -1 of a point at z = -4.
  EXPECT_NEAR(persp.Plane(Frustum::kNear)[2] * -4.0f + persp.Plane(Frustum::kNear)[3], 3.0f, 1e-5f);
}

TEST(Frustum, ClassifiesCubesStrictly) {
  const Frustum f = BoxFrustum();
  EXPECT_EQ(f.TestCube({-0.5f, -0.5f, -0.5f, 1.0f}), CubeVisibility::kInside);
  EXPECT_EQ(f.TestCube({0.5f, -0.5f, -0.5f, 1.0f}),
            CubeVisibility::kIntersecting);  // crosses the right plane only
  EXPECT_EQ(f.TestCube({-0.5f, -0.5f, 1.5f, 1.0f}), CubeVisibility::kOutside);         // beyond far
  EXPECT_EQ(f.TestCube({-0.5f, -0.5f, -3.0f, 1.0f}), CubeVisibility::kOutside);        // behind near
  EXPECT_EQ(f.TestCube({-5.0f, -5.0f, -5.0f, 10.0f}), CubeVisibility::kIntersecting);  // encloses the view
  // A face on the right plane: the face's corners do not count as inside.
  EXPECT_EQ(f.TestCube({1.0f, -0.5f, -0.5f, 1.0f}), CubeVisibility::kOutside);
  EXPECT_EQ(f.TestCube({0.0f, -0.5f, -0.5f, 1.0f}), CubeVisibility::kIntersecting);
  // An edge-0 cube is a point: inside or outside, never intersecting.
  EXPECT_EQ(f.TestCube({0.25f, 0.25f, 0.25f, 0.0f}), CubeVisibility::kInside);
  EXPECT_EQ(f.TestCube({3.0f, 0.25f, 0.25f, 0.0f}), CubeVisibility::kOutside);
  EXPECT_EQ(f.TestCube({1.0f, 0.25f, 0.25f, 0.0f}), CubeVisibility::kOutside);
}

TEST(Frustum, ConservativeNearTheFrustumsEdges) {
  float p[16];
  Perspective(p);
  Frustum f;
  f.SetFromMatrices(p, kIdentity);
  // Outside, beyond the corner where the far and right planes meet, yet not wholly behind either.
  const Cube corner{10.0f, -1.0f, -11.0f, 2.0f};
  EXPECT_FALSE(PointInside(f, 10.5f, 0.0f, -9.99f));
  EXPECT_EQ(f.TestCube(corner), CubeVisibility::kIntersecting);
  EXPECT_EQ(f.TestCube({-0.5f, -0.5f, -5.0f, 1.0f}), CubeVisibility::kInside);
  EXPECT_EQ(f.TestCube({-0.5f, -0.5f, 0.0f, 1.0f}), CubeVisibility::kOutside);  // behind the eye
}

TEST(Frustum, PlanesFollowTheCameraIntoWorldCoordinates) {
  float p[16];
  Perspective(p);
  Camera cam;
  cam.position.Set(0.0f, 0.0f, -5.0f);  // eye at world z = +5, looking down -z
  cam.Update();
  Frustum f;
  f.SetFromMatrices(p, cam.matrix.m);
  EXPECT_EQ(f.TestCube({-0.5f, -0.5f, -0.5f, 1.0f}), CubeVisibility::kInside);
  EXPECT_EQ(f.TestCube({-0.5f, -0.5f, 5.5f, 1.0f}), CubeVisibility::kOutside);

  cam.angleY = 180.0f;  // turned round: the origin is now behind
  cam.Update();
  f.SetFromMatrices(p, cam.matrix.m);
  EXPECT_EQ(f.TestCube({-0.5f, -0.5f, -0.5f, 1.0f}), CubeVisibility::kOutside);
}

TEST(Frustum, DegenerateMatricesRejectEverythingWithoutNaNs) {
  const float zero[16] = {};
  Frustum f;
  f.SetFromMatrices(zero, kIdentity);
  for (int i = 0; i < 6; ++i) {
    for (int k = 0; k < 4; ++k) EXPECT_EQ(f.Plane(i)[k], 0.0f);
  }
  EXPECT_EQ(f.TestCube({-1.0f, -1.0f, -1.0f, 2.0f}), CubeVisibility::kOutside);
}

class FrustumGL : public testsupport::GLTest {};

// The planes taken from GL's matrices agree with GL's own clipping of points.
TEST_F(FrustumGL, UpdateAgreesWithGLClipping) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(-0.6, 0.8, -0.5, 0.4, 1.0, 50.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  Camera cam;
  cam.position.Set(-20.0f, -30.0f, -20.0f);
  cam.angleX = 50.0f;
  cam.angleY = 20.0f;
  cam.angleZ = -8.0f;
  cam.Update();
  cam.Apply();
  Frustum f;
  f.Update();

  int inside = 0, checked = 0;
  for (int i = 0; i < 12; ++i) {
    for (int j = 0; j < 12; ++j) {
      for (int k = 0; k < 6; ++k) {
        const float x = -10.0f + 5.0f * i, y = -40.0f + 8.0f * k, z = -10.0f + 5.0f * j;
        const bool ours = PointInside(f, x, y, z);
        const auto fb = testsupport::CaptureFeedback([&] {
          glBegin(GL_POINTS);
          glVertex3f(x, y, z);
          glEnd();
        });
        const bool gl = !fb.empty();
        // Skip points within a hair of a plane, where rounding may decide either way.
        bool nearPlane = false;
        for (int n = 0; n < 6; ++n) {
          const float* q = f.Plane(n);
          nearPlane |= std::fabs(q[0] * x + q[1] * y + q[2] * z + q[3]) < 1e-3f;
        }
        if (nearPlane) continue;
        ++checked;
        inside += ours ? 1 : 0;
        EXPECT_EQ(ours, gl) << x << " " << y << " " << z;
      }
    }
  }
  EXPECT_GT(inside, 10);
  EXPECT_LT(inside, checked - 10);
}

}  // namespace
