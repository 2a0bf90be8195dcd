// Torus: curve, tube, strips, texture coordinates, normals, and what Draw and Frame hand to GL
#include "effects/Torus.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>

#include "support/GLTest.h"
#include "support/TestJpeg.h"

namespace {

class TorusTest : public testsupport::GLTest {
 protected:
  TorusTest() : GLTest(64, 64) {}
  void SetUp() override {
    GLTest::SetUp();
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(testsupport::ScratchDir());  // no torus picture here
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    GLTest::TearDown();
  }

 private:
  std::filesystem::path previous_;
};

double Dot(const Vector3& a, const Vector3& b) {
  return static_cast<double>(a.x) * b.x + static_cast<double>(a.y) * b.y + static_cast<double>(a.z) * b.z;
}
Vector3 Minus(const Vector3& a, const Vector3& b) {
  Vector3 v;
  v.Set(a.x - b.x, a.y - b.y, a.z - b.z);
  return v;
}
double Length(const Vector3& v) { return std::sqrt(Dot(v, v)); }

TEST_F(TorusTest, ConstructionAndInitValues) {
  float phase = 0;
  Torus torus(phase);
  EXPECT_EQ(torus.PathStep(), 0.001f);
  EXPECT_EQ(torus.AngleStep(), 0.001f);
  EXPECT_EQ(torus.Angle(), 0.0f);
  EXPECT_EQ(torus.P(), 1.0f);
  EXPECT_EQ(torus.Q(), 2.0f);
  EXPECT_FALSE(torus.Allocated());
  torus.Frame();  // before Init: draws nothing, breaks nothing
  EXPECT_EQ(phase, 0.0f);

  EXPECT_FALSE(torus.Init(GL_LINE));  // no picture: false, but the mesh is built
  EXPECT_EQ(torus.PolygonMode(), static_cast<GLenum>(GL_LINE));
  EXPECT_EQ(torus.PathStep(), 0.1f);
  EXPECT_EQ(torus.AngleStep(), 0.1f);
  EXPECT_EQ(torus.RingCount(), 62);
  EXPECT_EQ(torus.SideCount(), 62);
  EXPECT_EQ(torus.StripLength(), 126);
  EXPECT_TRUE(torus.Allocated());
  EXPECT_NE(torus.Texture(), 0u);  // a name is made even without a picture
}

TEST_F(TorusTest, BothToriAdvanceOneSharedWavePhase) {
  float phase = 0;
  Torus solid(phase), wire(phase);
  solid.Init(GL_FILL);
  EXPECT_FLOAT_EQ(phase, 0.1f);
  wire.Init(GL_LINE);
  EXPECT_FLOAT_EQ(phase, 0.2f);  // as at the first frame after start-up
  // Ring 0's thickness is sin(phase) + 1.5 for the phase the build started with.
  const double expected = std::sin(static_cast<double>(phase)) + 1.5;
  wire.BuildPath(1, 2);
  wire.BuildTube();
  for (int j = 0; j < 62; ++j) {
    EXPECT_NEAR(Length(Minus(wire.Vertex(0, j), wire.PathPoint(0))), expected, 1e-5);
  }
}

TEST_F(TorusTest, PathStartsAtSixAndFollowsTheCurve) {
  float phase = 0;
  Torus torus(phase);
  torus.Init(GL_FILL);
  EXPECT_EQ(torus.PathPoint(0).x, 6.0f);
  EXPECT_EQ(torus.PathPoint(0).y, 0.0f);
  EXPECT_EQ(torus.PathPoint(0).z, 0.0f);
  float t = 0;
  for (int i = 0; i < 62; ++i) {
    const double s = std::sin(2.0 * t);
    const double r = (s + 2) * 0.5 + 5;
    EXPECT_NEAR(torus.PathPoint(i).x, r * std::cos(t), 1e-5);
    EXPECT_NEAR(torus.PathPoint(i).y, r * s, 1e-5);
    EXPECT_NEAR(torus.PathPoint(i).z, r * std::sin(t), 1e-5);
    const double radial = std::hypot(torus.PathPoint(i).x, torus.PathPoint(i).z);
    EXPECT_GE(radial, 5.5 - 1e-5);
    EXPECT_LE(radial, 6.5 + 1e-5);
    t += 0.1f;
  }
}

TEST_F(TorusTest, FirstRingIsACirclePerpendicularToTheFirstSegment) {
  float phase = 0;
  Torus torus(phase);
  torus.Init(GL_FILL);
  phase = 0;
  torus.BuildTube();
  const Vector3 segment = Minus(torus.PathPoint(1), torus.PathPoint(0));
  for (int j = 0; j < 62; ++j) {
    const Vector3 spoke = Minus(torus.Vertex(0, j), torus.PathPoint(0));
    EXPECT_NEAR(Dot(spoke, segment) / Length(segment), 0.0, 1e-5);
    EXPECT_NEAR(Length(spoke), 1.5, 1e-5);  // sin(0) + 1.5
  }
  // Side j sits at angle 0.1 j: neighbours are 0.1 apart, the seam 2 pi - 6.1 apart.
  const double chord01 = Length(Minus(torus.Vertex(0, 1), torus.Vertex(0, 0)));
  const double seam = Length(Minus(torus.Vertex(0, 0), torus.Vertex(0, 61)));
  EXPECT_NEAR(chord01, 2 * 1.5 * std::sin(0.05), 1e-4);
  EXPECT_NEAR(seam, 2 * 1.5 * std::sin((2 * M_PI - 6.1) / 2), 1e-4);
}

TEST_F(TorusTest, StripsCloseTheTubeBothWays) {
  float phase = 0;
  Torus torus(phase);
  torus.Init(GL_FILL);
  std::set<unsigned> used;
  for (int j = 0; j < 62; ++j) {
    const unsigned* strip = torus.Strip(j);
    const unsigned next = (j + 1) % 62;
    EXPECT_EQ(strip[0], static_cast<unsigned>(j));
    EXPECT_EQ(strip[1], next);
    EXPECT_EQ(strip[124], strip[0]);
    EXPECT_EQ(strip[125], strip[1]);
    for (int i = 0; i < 62; ++i) {
      ASSERT_EQ(strip[2 * i], static_cast<unsigned>(i * 62 + j));
      ASSERT_EQ(strip[2 * i + 1], static_cast<unsigned>(i * 62 + next));
    }
    for (int n = 0; n < 126; ++n) used.insert(strip[n]);
  }
  EXPECT_EQ(used.size(), 3844u);
  EXPECT_EQ(*used.rbegin(), 3843u);
}

TEST_F(TorusTest, TextureRepeatsTwiceAlongAndAround) {
  float phase = 0;
  Torus torus(phase);
  torus.Init(GL_FILL);
  EXPECT_EQ(torus.TexCoord(0, 0)[0], 0.0f);
  EXPECT_EQ(torus.TexCoord(31, 0)[0], 1.0f);
  EXPECT_EQ(torus.TexCoord(0, 31)[1], 1.0f);
  EXPECT_EQ(torus.TexCoord(61, 61)[0], static_cast<float>(122.0 / 62));
  EXPECT_EQ(torus.TexCoord(61, 61)[1], static_cast<float>(122.0 / 62));
  EXPECT_EQ(torus.TexCoord(5, 17)[0], static_cast<float>(10.0 / 62));
  EXPECT_EQ(torus.TexCoord(5, 17)[1], static_cast<float>(34.0 / 62));
}

// Fraction of vertices whose normal points away from the curve; every normal must be unit
// length and, where asked, square to the chord across its two side neighbours.
double OutwardFraction(const Torus& torus, bool checkSquare) {
  int outward = 0;
  for (int i = 0; i < 62; ++i) {
    for (int j = 0; j < 62; ++j) {
      const Vector3& n = torus.Normal(i, j);
      const Vector3 spoke = Minus(torus.Vertex(i, j), torus.PathPoint(i));
      const Vector3 around = Minus(torus.Vertex(i, (j + 1) % 62), torus.Vertex(i, (j + 61) % 62));
      EXPECT_NEAR(Length(n), 1.0, 1e-5) << i << "," << j;
      if (checkSquare) {
        EXPECT_LT(std::fabs(Dot(n, around)) / Length(around), 0.1) << i << "," << j;
      }
      outward += Dot(n, spoke) > 0 ? 1 : 0;
    }
  }
  return outward / 3844.0;
}

TEST_F(TorusTest, NormalsPointAwayFromTheCurveEvenOnTheSeams) {
  float phase = 0;
  Torus torus(phase);
  torus.Init(GL_FILL);
  // A level circle of radius 6 bends less than the thickest tube is thick, so the surface
  // never folds: every normal, seams included, points outwards while the wave runs along.
  for (int frame = 0; frame < 8; ++frame) {
    torus.BuildPath(1, 0);
    torus.BuildTube();
    torus.BuildNormals();
    EXPECT_EQ(OutwardFraction(torus, true), 1.0) << "frame " << frame;
  }
  // On the demo's curve the thick tube folds through itself inside the tightest bends,
  // where the surface is turned over; everywhere else the normals point outwards.
  for (int frame = 0; frame < 8; ++frame) {
    torus.Rebuild();
    EXPECT_GT(OutwardFraction(torus, false), 0.97) << "frame " << frame;
  }
}

TEST_F(TorusTest, DrawSetsItsStateAndSendsEveryStripVertex) {
  float phase = 0;
  Torus torus(phase);
  torus.Init(GL_LINE);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-10, 10, -10, 10, -10, 10);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_CULL_FACE);
  const std::vector<float> feedback = testsupport::CaptureFeedback([&] { torus.Draw(); }, 1 << 20);
  EXPECT_FALSE(feedback.empty());

  GLint mode[2] = {0, 0};
  glGetIntegerv(GL_POLYGON_MODE, mode);
  EXPECT_EQ(mode[0], GL_LINE);
  EXPECT_EQ(mode[1], GL_LINE);
  GLint front = 0;
  glGetIntegerv(GL_FRONT_FACE, &front);
  EXPECT_EQ(front, GL_CW);
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), torus.Texture());
  GLfloat colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_FLOAT_EQ(colour[0], 0.7f);
  // The last vertex sent is the end of strip 61: ring 0, side 0.
  GLfloat normal[3], tex[4];
  glGetFloatv(GL_CURRENT_NORMAL, normal);
  glGetFloatv(GL_CURRENT_TEXTURE_COORDS, tex);
  EXPECT_EQ(normal[0], torus.Normal(0, 0).x);
  EXPECT_EQ(normal[2], torus.Normal(0, 0).z);
  EXPECT_EQ(tex[0], 0.0f);
  EXPECT_EQ(tex[1], 0.0f);
}

TEST_F(TorusTest, FrameRestoresStateAndTurnsHalfADegree) {
  float phase = 0;
  Torus torus(phase);
  torus.Init(GL_FILL);
  glMatrixMode(GL_TEXTURE);
  glTranslatef(0.5f, 0, 0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(0, 0, -10);
  GLfloat before[16], after[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, before);
  const float phaseBefore = phase;
  torus.Frame();
  glGetFloatv(GL_MODELVIEW_MATRIX, after);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(before[i], after[i]);
  GLint matrixMode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
  EXPECT_EQ(matrixMode, GL_MODELVIEW);
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
  GLint mode[2];
  glGetIntegerv(GL_POLYGON_MODE, mode);
  EXPECT_EQ(mode[0], GL_FILL);
  GLfloat texture[16];
  glGetFloatv(GL_TEXTURE_MATRIX, texture);
  EXPECT_EQ(texture[12], 0.0f);  // the texture matrix is reset, and stays so
  EXPECT_EQ(torus.Angle(), 0.5f);
  EXPECT_FLOAT_EQ(phase, phaseBefore + 0.1f);
}

// Where the first vertex of the first visible strip lands for a given torus angle.
TEST_F(TorusTest, FrameDrawsTurnedByItsAngleAboutOneOneZero) {
  float phase = 0;
  Torus torus(phase);
  torus.Init(GL_FILL);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-32, 32, -32, 32, -64, 64);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  for (int i = 0; i < 37; ++i) torus.Frame();  // angle 18.5 degrees
  ASSERT_EQ(torus.Angle(), 18.5f);
  const std::vector<float> feedback = testsupport::CaptureFeedback([&] { torus.Frame(); }, 1 << 22);
  ASSERT_GT(feedback.size(), 10u);
  // The mesh arrays now hold this frame's mesh; map them with the same transform.
  glPushMatrix();
  glTranslatef(0, 0, -16);
  glRotatef(18.5f, 1, 1, 0);
  GLfloat mv[16], pr[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, mv);
  glGetFloatv(GL_PROJECTION_MATRIX, pr);
  glPopMatrix();
  auto project = [&](const Vector3& v, double out[2]) {
    double eye[4];
    for (int r = 0; r < 4; ++r) eye[r] = mv[r] * v.x + mv[4 + r] * v.y + mv[8 + r] * v.z + mv[12 + r];
    double clip[4];
    for (int r = 0; r < 4; ++r)
      clip[r] = pr[r] * eye[0] + pr[4 + r] * eye[1] + pr[8 + r] * eye[2] + pr[12 + r] * eye[3];
    out[0] = (clip[0] / clip[3] + 1) * 32;
    out[1] = (clip[1] / clip[3] + 1) * 32;
  };
  // Every fed-back vertex is the projection of a mesh vertex with its texture coordinate.
  int checked = 0;
  for (size_t n = 0; n + 1 < feedback.size() && checked < 60;) {
    if (feedback[n] != GL_POLYGON_TOKEN) break;
    const int count = static_cast<int>(feedback[n + 1]);
    for (int v = 0; v < count; ++v, ++checked) {
      const float* rec = &feedback[n + 2 + v * 11];  // x y z, r g b a, s t r q
      const int i = static_cast<int>(std::lround(rec[7] * 31));
      const int j = static_cast<int>(std::lround(rec[8] * 31));
      ASSERT_LT(i, 62);
      ASSERT_LT(j, 62);
      double at[2];
      project(torus.Vertex(i, j), at);
      EXPECT_NEAR(rec[0], at[0], 0.01);
      EXPECT_NEAR(rec[1], at[1], 0.01);
    }
    n += 2 + count * 11;
  }
  EXPECT_GT(checked, 0);
}

TEST_F(TorusTest, SevenHundredTwentyFramesTurnAFullCircle) {
  float phase = 0;
  Torus torus(phase);
  torus.Init(GL_LINE);
  glEnable(GL_SCISSOR_TEST);
  glScissor(0, 0, 0, 0);  // nothing to rasterise: only the transform is of interest
  for (int i = 0; i < 720; ++i) torus.Frame();
  EXPECT_EQ(torus.Angle(), 360.0f);
  EXPECT_NEAR(phase, 72.1, 1e-3);  // one build per frame plus Init's
  glDisable(GL_SCISSOR_TEST);

  // Drawn now, it matches a torus that has not turned at all and builds the same wave.
  float twinPhase = phase;
  Torus twin(twinPhase);
  twin.Init(GL_LINE);
  twinPhase = phase;
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-32, 32, -32, 32, -64, 64);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  const std::vector<float> turned = testsupport::CaptureFeedback([&] { torus.Frame(); }, 1 << 22);
  const std::vector<float> still = testsupport::CaptureFeedback([&] { twin.Frame(); }, 1 << 22);
  ASSERT_EQ(turned.size(), still.size());
  ASSERT_GT(turned.size(), 1000u);
  for (size_t n = 0; n < turned.size(); ++n) ASSERT_NEAR(turned[n], still[n], 1e-3) << n;
}

TEST_F(TorusTest, ReinitReplacesTheArraysAndKeepsTheMesh) {
  float phase = 0;
  Torus torus(phase);
  torus.Init(GL_FILL);
  torus.Init(GL_LINE);
  EXPECT_EQ(torus.PolygonMode(), static_cast<GLenum>(GL_LINE));
  EXPECT_EQ(torus.PathPoint(0).x, 6.0f);
  EXPECT_TRUE(torus.Allocated());
  EXPECT_EQ(torus.Strip(61)[1], 0u);
}

TEST_F(TorusTest, TextureTakesTheDecodedSizeAndABadPictureLeavesItEmpty) {
  const auto stripes = [](unsigned x, unsigned, unsigned char* p) { p[0] = p[1] = p[2] = x < 16 ? 40 : 220; };
  ASSERT_TRUE(testsupport::WriteTestJpeg("textures/torus.jpg", 32, 16, stripes));
  float phase = 0;
  Torus torus(phase);
  EXPECT_TRUE(torus.Init(GL_FILL));
  GLint width = 0, height = 0, wrapS = 0, minFilter = 0;
  glBindTexture(GL_TEXTURE_2D, torus.Texture());
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
  EXPECT_EQ(width, 32);  // the reader's size, not the 256 asked for
  EXPECT_EQ(height, 16);
  EXPECT_EQ(wrapS, GL_REPEAT);
  EXPECT_EQ(minFilter, GL_LINEAR);

  // A damaged picture: a fresh name without an image, no GL error, and the torus still draws.
  std::filesystem::resize_file("textures/torus.jpg", 60);
  const GLuint previous = torus.Texture();
  EXPECT_FALSE(torus.LoadTexture("textures/torus.jpg", 256, 256));
  EXPECT_NE(torus.Texture(), previous);
  glBindTexture(GL_TEXTURE_2D, torus.Texture());
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  EXPECT_EQ(width, 0);
  torus.Frame();
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
