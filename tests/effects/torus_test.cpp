// Torus: curve, wavy tube, strips, texture coordinates, normals, and what a frame hands to GL
#include "effects/Torus.h"

#include <GL/gl.h>

#include <cmath>

#include "support/GLTest.h"
#include "support/Projection.h"
#include "support/TestJpeg.h"

namespace {

double Dot(const Vector3& a, const Vector3& b) {
  return static_cast<double>(a.x) * b.x + static_cast<double>(a.y) * b.y + static_cast<double>(a.z) * b.z;
}
double Distance(const Vector3& a, const Vector3& b) { return std::sqrt(Dot(Subtract(a, b), Subtract(a, b))); }

// Each test runs in an empty folder: no torus picture unless the test writes one.
class TorusTest : public testsupport::GLTest {
 protected:
  TorusTest() : GLTest(64, 64) {}
  testsupport::ScopedChdir cwd_;
  float phase_ = 0;  // the program-wide wave phase
};

TEST_F(TorusTest, InitBuildsTheCurveTheWavyTubeAndItsStripsSharingOnePhase) {
  Torus solid(phase_), wire(phase_);
  solid.Frame();                      // before Init: builds and draws nothing
  EXPECT_FALSE(solid.Init(GL_FILL));  // no picture, but a mesh
  wire.Init(GL_LINE);
  EXPECT_FLOAT_EQ(phase_, 0.2f);  // one wave step per build, whichever torus builds
  const float phase = phase_;
  wire.BuildTube();
  float t = 0;
  for (int i = 0; i < 62; ++i, t += 0.1f) {
    const double s = std::sin(2.0 * t), r = (s + 2) * 0.5 + 5;
    const Vector3 &here = wire.PathPoint(i), &next = wire.PathPoint((i + 1) % 62);
    const Vector3 onCurve{static_cast<float>(r * std::cos(t)), static_cast<float>(r * s),
                          static_cast<float>(r * std::sin(t))};
    ASSERT_LT(Distance(here, onCurve), 1e-5) << i;
    // Ring i: a circle of radius sin(phase + 6i / 6.28318530717) + 1.5 about path[i], square to the
    // segment towards the next point (the last closing back to the first), side j at angle 0.1 j.
    Vector3 a = Cross(Subtract(next, here), Add(here, next)), b = Cross(a, Subtract(next, here));
    a.Normalize(), b.Normalize();
    const double rho = std::sin(phase + 6 * i / 6.28318530717) + 1.5;
    float angle = 0;
    for (int j = 0; j < 62; ++j, angle += 0.1f) {
      const Vector3 expected =
          Add(here, Add(Scale(a, rho * std::cos(angle)), Scale(b, rho * std::sin(angle))));
      ASSERT_LT(Distance(wire.Vertex(i, j), expected), 1e-4) << i << "," << j;
      // The picture repeats twice along the tube and twice around it.
      ASSERT_EQ(wire.TexCoord(i, j)[0], static_cast<float>(2.0 * i / 62));
      ASSERT_EQ(wire.TexCoord(i, j)[1], static_cast<float>(2.0 * j / 62));
      // Strip j joins side j to the next, ring by ring, and closes on ring 0.
      ASSERT_EQ(wire.Strip(j)[2 * i], static_cast<unsigned>(i * 62 + j));
      ASSERT_EQ(wire.Strip(j)[2 * i + 1], static_cast<unsigned>(i * 62 + (j + 1) % 62));
      ASSERT_EQ(wire.Strip(j)[124 + i % 2], wire.Strip(j)[i % 2]);
    }
  }
}

// Share of vertices whose normal points away from the curve; every normal must be of unit length.
double OutwardShare(const Torus& torus) {
  int outward = 0;
  for (int i = 0; i < 62; ++i) {
    for (int j = 0; j < 62; ++j) {
      EXPECT_NEAR(Dot(torus.Normal(i, j), torus.Normal(i, j)), 1.0, 1e-5) << i << "," << j;
      outward += Dot(torus.Normal(i, j), Subtract(torus.Vertex(i, j), torus.PathPoint(i))) > 0 ? 1 : 0;
    }
  }
  return outward / 3844.0;
}

TEST_F(TorusTest, NormalsPointAwayFromTheCurveSeamsIncluded) {
  Torus torus(phase_);
  torus.Init(GL_FILL);
  torus.BuildPath(1, 0);  // a level circle bends less than the tube is thick
  torus.BuildTube();
  torus.BuildNormals();
  EXPECT_EQ(OutwardShare(torus), 1.0);
  torus.Rebuild();  // the demo's curve: the thick tube folds through itself in the tightest bends only
  EXPECT_GT(OutwardShare(torus), 0.97);
}

TEST_F(TorusTest, AFrameDrawsTheLitTexturedNearSideTurnedByItsAngle) {
  ASSERT_TRUE(
      testsupport::WriteTestJpeg("textures/torus.jpg", 32, 16,
                                 [](unsigned, unsigned, unsigned char* p) { p[0] = 255, p[1] = p[2] = 0; }));
  Torus torus(phase_);
  torus.Init(GL_FILL);
  EXPECT_TRUE(torus.Init(GL_FILL));  // as a restart does
  glMatrixMode(GL_PROJECTION);
  glOrtho(-16, 16, -16, 16, -64, 64);
  glMatrixMode(GL_MODELVIEW);
  glEnable(GL_LIGHT0);
  for (int i = 0; i < 36; ++i) torus.Frame();
  glBindTexture(GL_TEXTURE_2D, 0);  // the torus binds its own
  torus.Frame();
  const auto pixels = ReadPixels();
  int red = 0;
  for (size_t i = 0; i < pixels.size(); i += 4) red += pixels[i] > 40 && pixels[i + 1] < 10 ? 1 : 0;
  EXPECT_GT(red, 64 * 64 / 10);
  const auto polygons = testsupport::CapturePolygons([&] { torus.Frame(); }, 1 << 22);
  glTranslatef(0, 0, -16);  // this frame's mesh, under the same transform
  glRotatef(18.5f, 1, 1, 0);
  double depth = 0, dark = 1, bright = 0;
  for (const auto& polygon : polygons) {
    for (const auto& fed : polygon) {
      const Vector3& v = torus.Vertex(std::lround(fed.texCoord[0] * 31), std::lround(fed.texCoord[1] * 31));
      const auto at = testsupport::ProjectPoint(v.x, v.y, v.z);
      ASSERT_NEAR(fed.x, at[0], 0.01);
      ASSERT_NEAR(fed.y, at[1], 0.01);
      depth += fed.z / polygon.size() / polygons.size();
      dark = std::min<double>(dark, fed.color[0]), bright = std::max<double>(bright, fed.color[0]);
    }
  }
  // Of 62 strips of 124 triangles the back faces are culled, and those are the far ones.
  EXPECT_NEAR(polygons.size(), 62 * 124 / 2, 62 * 124 / 10);
  EXPECT_LT(depth, testsupport::ProjectPoint(0, 0, 0)[2]);
  EXPECT_GT(bright - dark, 0.5);  // shaded by the light from the normals
  Torus wire(phase_);
  wire.Init(GL_LINE);
  EXPECT_TRUE(testsupport::CapturePolygons([&] { wire.Frame(); }, 1 << 22).empty());
}

}  // namespace
