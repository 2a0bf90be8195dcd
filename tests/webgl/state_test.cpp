// The state the layer keeps reads back as Mesa's does after the same calls: attribute stacks that restore
// exactly their groups, matrices, GL's errors for bad calls, and gluLookAt's view
#include <cmath>
#include <vector>

#include "GlPair.h"

namespace webgltest {
namespace {

constexpr GLenum kCaps[] = {GL_TEXTURE_2D, GL_DEPTH_TEST, GL_LIGHTING,     GL_LIGHT0, GL_BLEND,
                            GL_ALPHA_TEST, GL_CULL_FACE,  GL_SCISSOR_TEST, GL_FOG,    GL_LINE_SMOOTH};

// Everything a push of all groups must bring back: the capabilities and these.
std::vector<GLenum> EveryGroup() {
  std::vector<GLenum> queries(std::begin(kCaps), std::end(kCaps));
  queries.insert(queries.end(),
                 {GL_VIEWPORT, GL_SCISSOR_BOX, GL_POLYGON_MODE, GL_MATRIX_MODE, GL_BLEND_SRC, GL_BLEND_DST,
                  GL_SHADE_MODEL, GL_CULL_FACE_MODE, GL_FRONT_FACE, GL_ALPHA_TEST_FUNC, GL_ALPHA_TEST_REF,
                  GL_COLOR_CLEAR_VALUE, GL_TEXTURE_BINDING_2D});
  return queries;
}

void ChangeEverything(const Gl& gl) {
  GLuint name = 0;
  gl.GenTextures(1, &name);
  gl.BindTexture(GL_TEXTURE_2D, name);
  for (GLenum cap : kCaps) gl.Enable(cap);
  gl.Viewport(1, 2, 3, 4);
  gl.Scissor(5, 6, 7, 8);
  gl.PolygonMode(GL_BACK, GL_LINE);
  gl.MatrixMode(GL_TEXTURE);
  gl.BlendFunc(GL_DST_COLOR, GL_SRC_ALPHA);
  gl.ShadeModel(GL_FLAT);
  gl.CullFace(GL_FRONT);
  gl.FrontFace(GL_CW);
  gl.AlphaFunc(GL_GEQUAL, 0.25f);
  gl.ClearColor(0.1f, 0.2f, 0.3f, 0.4f);
}

template <GLbitfield kMask>
void PushChangePop(const Gl& gl) {
  gl.PushAttrib(kMask);
  ChangeEverything(gl);
  gl.PopAttrib();
}

struct Case {
  const char* name;
  void (*calls)(const Gl& gl);
  std::vector<GLenum> queries;
};

const Case kCases[] = {
    {"PushAllRestoresEveryGroup", PushChangePop<GL_ALL_ATTRIB_BITS>, EveryGroup()},
    {"PushOfOneGroupRestoresOnlyThatGroup", PushChangePop<GL_COLOR_BUFFER_BIT | GL_LIGHTING_BIT>,
     EveryGroup()},
    {"NestedPushesOfTheEffectsMask",
     [](const Gl& gl) {
       gl.PushAttrib(0x000FFFFF);
       ChangeEverything(gl);
       gl.PushAttrib(GL_POLYGON_BIT | GL_VIEWPORT_BIT);
       gl.Viewport(9, 9, 9, 9);
       gl.PolygonMode(GL_FRONT, GL_POINT);
       gl.PopAttrib();
     },
     EveryGroup()},
    {"MatrixProducts",
     [](const Gl& gl) {
       const float m[16] = {1, 2, 0, 0, 0, 1, 3, 0, 0.5f, 0, 1, 0, 4, 5, 6, 1};
       gl.MatrixMode(GL_PROJECTION);
       gl.Perspective(45.0, 0.75, 0.1, 200.0);
       gl.Ortho(-2, 3, -4, 5, -6, 7);
       gl.MatrixMode(GL_MODELVIEW);
       gl.PushMatrix();
       gl.Rotatef(30, 1, 2, 3);
       gl.PopMatrix();
       gl.Translatef(1, 2, 3);
       gl.Rotatef(-75, 0, 0, 1);
       gl.Scalef(2, 3, 4);
       gl.MultMatrixf(m);
       gl.MatrixMode(GL_TEXTURE);
       gl.Rotatef(90, 0, 1, 0);
     },
     {GL_MODELVIEW_MATRIX, GL_PROJECTION_MATRIX, GL_TEXTURE_MATRIX, GL_MODELVIEW_STACK_DEPTH}},
    {"ClientPixelStoreComesBack",
     [](const Gl& gl) {
       gl.PushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
       gl.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
       gl.PixelStorei(GL_PACK_ALIGNMENT, 8);
       gl.PopClientAttrib();
     },
     {GL_UNPACK_ALIGNMENT, GL_PACK_ALIGNMENT}},
};

// Each call is made alone on a fresh state; GL's error for it must be Mesa's.
const Case kErrors[] = {
    {"UnknownCapability", [](const Gl& gl) { gl.Enable(0x1234); }, {}},
    {"PopOfAnEmptyAttributeStack", [](const Gl& gl) { gl.PopAttrib(); }, {}},
    {"PopOfTheLastMatrix", [](const Gl& gl) { gl.PopMatrix(); }, {}},
    {"BeginInsideBegin", [](const Gl& gl) { gl.Begin(GL_QUADS), gl.Begin(GL_QUADS), gl.End(); }, {}},
    {"StateChangeInsideBegin",
     [](const Gl& gl) { gl.Begin(GL_TRIANGLES), gl.Enable(GL_BLEND), gl.End(); },
     {GL_BLEND}},
    {"EndWithoutBegin", [](const Gl& gl) { gl.End(); }, {}},
    {"UnknownPrimitive", [](const Gl& gl) { gl.Begin(0x20); }, {}},
    {"TextureBorder",
     [](const Gl& gl) {
       gl.TexImage2D(GL_TEXTURE_2D, 0, 4, 1, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                     std::array<uint8_t, 4>{}.data());
     },
     {}},
    {"NegativeViewport", [](const Gl& gl) { gl.Viewport(0, 0, -1, 4); }, {GL_VIEWPORT}},
    {"IndicesOfFloats",
     [](const Gl& gl) { gl.DrawElements(GL_TRIANGLES, 3, GL_FLOAT, std::array<float, 3>{}.data()); },
     {}},
    {"UnknownBlendFactor", [](const Gl& gl) { gl.BlendFunc(GL_ONE, GL_ALPHA); }, {GL_BLEND_SRC}},
};

class StateTest : public GlPair, public ::testing::WithParamInterface<Case> {};

TEST_P(StateTest, ReadsBackAsDesktopGL) {
  std::vector<float> values[2];  // GL's error after the calls, then 16 floats per query
  for (int side : {0, 1}) {
    On(side, [&](const Gl& gl) {
      GetParam().calls(gl);
      values[side].assign(1 + 16 * GetParam().queries.size(), -999.0f);  // untouched entries compare equal
      values[side][0] = float(gl.GetError());
      for (size_t q = 0; q < GetParam().queries.size(); ++q)
        gl.GetFloatv(GetParam().queries[q], &values[side][1 + 16 * q]);
    });
  }
  for (size_t i = 0; i < values[0].size(); ++i) {
    EXPECT_NEAR(values[1][i], values[0][i], 1e-4 * (1 + std::fabs(values[0][i])))
        << (i == 0 ? "error" : "query ") << (i == 0 ? 0 : GetParam().queries[(i - 1) / 16]) << " value "
        << (i - 1) % 16;
  }
}

INSTANTIATE_TEST_SUITE_P(State, StateTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(Errors, StateTest, ::testing::ValuesIn(kErrors),
                         [](const auto& info) { return std::string(info.param.name); });

// GLU is not linked here (it would call the layer for the reference), so gluLookAt is held to what it
// means: the eye goes to the origin, the centre 5 ahead onto -z, the eye plus up above.
TEST_F(GlPair, LookAtPutsTheCentreAheadAndUpUp) {
  On(1, [](const Gl& gl) {
    gluLookAt(1, 2, 3, 4, -2, 3, 0, 0.5, 1);
    float m[16];
    gl.GetFloatv(GL_MODELVIEW_MATRIX, m);
    const float points[3][3] = {{1, 2, 3}, {4, -2, 3}, {1, 2.5f, 4}},
                expected[2][3] = {{0, 0, 0}, {0, 0, -5}};
    for (int p = 0; p < 3; ++p) {
      float eye[3];
      for (int r = 0; r < 3; ++r)
        eye[r] = m[r] * points[p][0] + m[4 + r] * points[p][1] + m[8 + r] * points[p][2] + m[12 + r];
      for (int r = 0; r < 3 && p < 2; ++r) EXPECT_NEAR(eye[r], expected[p][r], 1e-5) << p << " " << r;
      if (p == 2) {
        EXPECT_GT(eye[1], 0.0f);
      }
    }
  });
}

}  // namespace
}  // namespace webgltest
