// The layer draws what Mesa's desktop GL draws, one call sequence per case; the state it keeps (attribute
// stacks, matrices, GL's errors for bad calls) reads back as Mesa's, and gluLookAt gives its view
//
// Tolerances allow rounding (the layer keeps vertex colours in bytes) and nothing more: a wrong provoking
// vertex, edge, face, texel or light shows as many wrong pixels.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/HeadlessGL.h"
#include "platform/webgl/Gl11.h"

namespace {

// The GL functions the cases call, from one implementation or the other.
// (clang-format lays this list out differently on every run.)
// clang-format off
#define WEBGL_TEST_CALLS(X)                                                                         \
  X(Begin) X(End) X(Vertex2f) X(Vertex3f) X(Color3f) X(Color4f) X(Color4fv) X(TexCoord2f)           \
  X(TexCoord2fv) X(Normal3f) X(EnableClientState) X(VertexPointer) X(ColorPointer) X(TexCoordPointer)\
  X(DrawElements) X(PushClientAttrib) X(PopClientAttrib) X(GenTextures) X(BindTexture)              \
  X(DeleteTextures) X(TexImage2D) X(TexParameteri) X(TexParameterf) X(TexEnvi) X(TexEnvf)          \
  X(MatrixMode) X(PushMatrix) X(PopMatrix) X(Translatef) X(Rotatef) X(Scalef) X(MultMatrixf)        \
  X(Ortho) X(GetFloatv) X(Enable) X(Disable) X(PolygonMode) X(ShadeModel) X(FrontFace) X(CullFace)  \
  X(BlendFunc) X(AlphaFunc) X(LightModelfv) X(Lightfv) X(Hint) X(Scissor) X(Viewport) X(Clear)      \
  X(ClearColor) X(PushAttrib) X(PopAttrib) X(PixelStorei) X(ReadPixels) X(GetError)
// clang-format on

struct Gl {
#define WEBGL_TEST_MEMBER(name) decltype(&::gl##name) name;
  WEBGL_TEST_CALLS(WEBGL_TEST_MEMBER)
#undef WEBGL_TEST_MEMBER
  // gluPerspective; the reference multiplies GL's own glFrustum of the same volume.
  void (*Perspective)(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);
};

inline decltype(&::glFrustum) referenceFrustum = nullptr;

constexpr int kSize = 64;

class GlPair : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(desktop_.Create({kSize, kSize, 32, 16, platform::GLApi::kDesktop})) << desktop_.LastError();
#define WEBGL_TEST_LOAD(name) \
  reference_.name =           \
      reinterpret_cast<decltype(reference_.name)>(platform::HeadlessGL::ProcAddress("gl" #name));
    WEBGL_TEST_CALLS(WEBGL_TEST_LOAD)
#undef WEBGL_TEST_LOAD
    referenceFrustum =
        reinterpret_cast<decltype(referenceFrustum)>(platform::HeadlessGL::ProcAddress("glFrustum"));
    reference_.Perspective = [](GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
      const double top = zNear * std::tan(fovy * M_PI / 360.0);
      referenceFrustum(-top * aspect, top * aspect, -top, top, zNear, zFar);
    };
    ASSERT_TRUE(es_.Create({kSize, kSize, 32, 16, platform::GLApi::kEs3})) << es_.LastError();
    ASSERT_TRUE(webgl::Attach(&platform::HeadlessGL::ProcAddress)) << webgl::LastError();
#define WEBGL_TEST_TAKE(name) layer_.name = &::gl##name;
    WEBGL_TEST_CALLS(WEBGL_TEST_TAKE)
#undef WEBGL_TEST_TAKE
    layer_.Perspective = &::gluPerspective;
  }
  void TearDown() override {
    webgl::Detach();
    es_.Destroy();
    desktop_.Destroy();
  }

  // Runs `calls` on the reference (side 0) or the layer (side 1) with its context current.
  void On(int side, const std::function<void(const Gl&)>& calls) {
    ASSERT_TRUE(side == 0 ? desktop_.MakeCurrent() : es_.MakeCurrent());
    calls(side == 0 ? reference_ : layer_);
  }

 private:
  Gl reference_{}, layer_{};
  platform::HeadlessGL desktop_, es_;
};

constexpr GLenum kPolygonModes[] = {GL_TRIANGLES, GL_TRIANGLE_STRIP, GL_TRIANGLE_FAN,
                                    GL_QUADS,     GL_QUAD_STRIP,     GL_POLYGON};
constexpr GLenum kLineModes[] = {GL_LINES, GL_LINE_STRIP, GL_LINE_LOOP};

// Eight vertices in distinct colours in cell `k` of a 3 x 2 grid: a zigzag for strips, a circle otherwise.
void Shape(const Gl& gl, int k, GLenum mode, float mirror = 1.0f) {
  gl.Viewport((k % 3) * 21, (k / 3) * 32, 21, 32);
  const bool strip = mode == GL_TRIANGLE_STRIP || mode == GL_QUAD_STRIP;
  gl.Begin(mode);
  for (int i = 0; i < 8; ++i) {
    gl.Color3f(float(i % 3) / 2, float(i % 4) / 3, float(i) / 7);
    const float angle = 0.785f * float(i) + 0.3f;
    gl.Vertex2f(mirror * (strip ? -0.9f + 0.25f * float(i) : 0.9f * std::cos(angle)),
                strip ? (i % 2 == 0 ? -0.7f : 0.7f) : 0.9f * std::sin(angle));
  }
  gl.End();
}

void Polygons(const Gl& gl) {
  for (int k = 0; k < 6; ++k) Shape(gl, k, kPolygonModes[k]);
}

// The smooth lines in the first three cells, flat ones in the others.
void Lines(const Gl& gl) {
  for (int k = 0; k < 6; ++k) gl.ShadeModel(k < 3 ? GL_SMOOTH : GL_FLAT), Shape(gl, k, kLineModes[k % 3]);
}

// Both windings of every mode: mirrored on the left of the cell, as given on the right.
void BothFaces(const Gl& gl) {
  gl.Scalef(0.5f, 1.0f, 1.0f);
  for (int k = 0; k < 6; ++k)
    for (float side : {-1.0f, 1.0f}) {
      gl.Translatef(side, 0.0f, 0.0f);
      Shape(gl, k, kPolygonModes[k], side);
      gl.Translatef(-side, 0.0f, 0.0f);
    }
}

// width x height texels of `components` bytes, every byte different from its neighbours.
std::vector<uint8_t> Texels(int width, int height, int components) {
  std::vector<uint8_t> texels(size_t(width * height * components));
  for (size_t i = 0; i < texels.size(); ++i) texels[i] = uint8_t((i * 83 + i / 7 * 29) % 256);
  return texels;
}

void Texture(const Gl& gl, GLint internalFormat, GLenum format, int components, GLenum wrap = GL_REPEAT) {
  GLuint name = 0;
  gl.GenTextures(1, &name);
  gl.BindTexture(GL_TEXTURE_2D, name);
  for (GLenum filter : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER})
    gl.TexParameteri(GL_TEXTURE_2D, filter, GL_LINEAR);
  gl.TexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GLfloat(wrap));
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GLint(wrap));
  gl.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
  gl.TexImage2D(GL_TEXTURE_2D, 0, internalFormat, 4, 4, 0, format, GL_UNSIGNED_BYTE,
                Texels(4, 4, components).data());
}

void TexturedQuad(const Gl& gl, float from, float to) {
  gl.Begin(GL_QUADS);
  gl.TexCoord2f(from, from), gl.Vertex2f(-0.9f, -0.9f);
  gl.TexCoord2f(to, from), gl.Vertex2f(0.9f, -0.9f);
  gl.TexCoord2fv(std::array<float, 2>{to, to}.data()), gl.Vertex2f(0.9f, 0.9f);
  gl.TexCoord2f(from, to), gl.Vertex2f(-0.9f, 0.9f);
  gl.End();
}

// Every texture format, blended, with the colour modulated (lower row) or replaced (upper row).
void Formats(const Gl& gl) {
  gl.Enable(GL_TEXTURE_2D);
  gl.Enable(GL_BLEND);
  gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  gl.Color4f(0.9f, 0.6f, 0.3f, 0.8f);
  const GLint internal[] = {3, 4, GL_ALPHA, 1, 2, GL_RGB};
  const GLenum format[] = {GL_RGB, GL_RGBA, GL_ALPHA, GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGBA};
  const int components[] = {3, 4, 1, 1, 2, 4};
  for (int k = 0; k < 12; ++k) {
    gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, k < 6 ? GL_MODULATE : GL_REPLACE);
    gl.Viewport((k % 6) * 10, (k / 6) * 32, 10, 32);
    Texture(gl, internal[k % 6], format[k % 6], components[k % 6]);
    TexturedQuad(gl, 0, 1);
  }
}

// A 6 x 6 patch of quads bulging towards the viewer, with its normals.
void Bump(const Gl& gl) {
  gl.Begin(GL_QUADS);
  for (int q = 0; q < 36 * 4; ++q) {
    const int corner = q % 4, i = q / 4 % 6 + (corner == 1 || corner == 2), j = q / 24 + (corner >= 2);
    const float x = float(i) / 3 - 1, y = float(j) / 3 - 1;
    gl.Normal3f(x, y, 1.2f);
    gl.Color4f(0.3f, 0.9f, 0.5f, 1.0f);
    gl.Vertex3f(x, y, 0.5f - 0.3f * (x * x + y * y));
  }
  gl.End();
}

// A positional light on the default material (left) and with the colour as material (right).
void Light(const Gl& gl) {
  const float ambient[4] = {0.5f, 0.4f, 0.3f, 1}, light[4] = {0.2f, 0.2f, 0.3f, 1};
  const float diffuse[4] = {1.0f, 0.8f, 0.6f, 1}, position[4] = {0.5f, 0.5f, 2.0f, 1};
  gl.Enable(GL_LIGHTING);
  gl.Enable(GL_LIGHT0);
  gl.LightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
  gl.Lightfv(GL_LIGHT0, GL_AMBIENT, light);
  gl.Lightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
  gl.Translatef(-1.0f, 0.5f, 0.0f);  // the position is taken in these eye coordinates
  gl.Lightfv(GL_LIGHT0, GL_POSITION, position);
  gl.Translatef(1.0f, -0.5f, 0.0f);
  gl.Rotatef(20, 1, 1, 0);
  gl.Viewport(0, 0, 32, 64), Bump(gl);
  gl.Enable(GL_COLOR_MATERIAL);
  gl.Viewport(32, 0, 32, 64), Bump(gl);
}

// Client arrays: a 5 x 5 grid of quads (or triangles) with 32-bit indices, colours in bytes.
void Arrays(const Gl& gl, GLenum mode, bool texCoords) {
  std::vector<float> positions, st;
  std::vector<uint8_t> colors;
  std::vector<uint32_t> indices;
  for (int i = 0; i < 25; ++i) {
    positions.insert(positions.end(), {float(i % 5) / 2.2f - 0.9f, float(i / 5) / 2.2f - 0.9f, 0});
    st.insert(st.end(), {float(i % 5) / 4, float(i / 5) / 4});
    colors.insert(colors.end(), {uint8_t(i * 10), uint8_t(250 - i * 9), 128, 255});
    if (i % 5 < 4 && i < 20)
      indices.insert(indices.end(), {uint32_t(i), uint32_t(i + 1), uint32_t(i + 6), uint32_t(i + 5)});
  }
  gl.PushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
  gl.VertexPointer(3, GL_FLOAT, 0, positions.data());
  gl.ColorPointer(4, GL_UNSIGNED_BYTE, 0, colors.data());
  gl.TexCoordPointer(2, GL_FLOAT, 0, st.data());
  gl.EnableClientState(GL_VERTEX_ARRAY);
  gl.EnableClientState(GL_COLOR_ARRAY);
  if (texCoords) gl.EnableClientState(GL_TEXTURE_COORD_ARRAY);
  gl.DrawElements(mode, GLsizei(indices.size()), GL_UNSIGNED_INT, indices.data());
  gl.PopClientAttrib();
}

// The capabilities (the first ten) and everything else a push of all groups must bring back.
const std::vector<GLenum> kEveryGroup = {
    GL_TEXTURE_2D,     GL_DEPTH_TEST,        GL_LIGHTING,          GL_LIGHT0,      GL_BLEND,
    GL_ALPHA_TEST,     GL_CULL_FACE,         GL_SCISSOR_TEST,      GL_FOG,         GL_LINE_SMOOTH,
    GL_VIEWPORT,       GL_SCISSOR_BOX,       GL_POLYGON_MODE,      GL_MATRIX_MODE, GL_BLEND_SRC,
    GL_BLEND_DST,      GL_SHADE_MODEL,       GL_CULL_FACE_MODE,    GL_FRONT_FACE,  GL_ALPHA_TEST_FUNC,
    GL_ALPHA_TEST_REF, GL_COLOR_CLEAR_VALUE, GL_TEXTURE_BINDING_2D};

void ChangeEverything(const Gl& gl) {
  GLuint name = 0;
  gl.GenTextures(1, &name);
  gl.BindTexture(GL_TEXTURE_2D, name);
  for (size_t i = 0; i < 10; ++i) gl.Enable(kEveryGroup[i]);
  gl.Viewport(1, 2, 3, 4);
  gl.Scissor(5, 6, 7, 8);
  gl.PolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  gl.MatrixMode(GL_TEXTURE);
  gl.BlendFunc(GL_DST_COLOR, GL_SRC_ALPHA);
  gl.ShadeModel(GL_FLAT);
  gl.CullFace(GL_FRONT);
  gl.FrontFace(GL_CW);
  gl.AlphaFunc(GL_GEQUAL, 0.25f);
  gl.ClearColor(0.1f, 0.2f, 0.3f, 0.4f);
}

struct Case {
  const char* name;
  void (*scene)(const Gl& gl);
  std::vector<GLenum> queries = {};  // read back after the scene, 16 floats each
  GLenum shade = GL_SMOOTH, front = GL_FILL, back = GL_FILL, cull = 0, winding = GL_CCW;
  bool smoothLines = false;  // antialiased and blended
};

const Case kCases[] = {
    {"SmoothPolygons", Polygons},
    {"FlatPolygons", Polygons, {}, GL_FLAT},
    {"FlatWireframes", Polygons, {}, GL_FLAT, GL_LINE, GL_LINE},
    {"CulledWireframesClockwise", BothFaces, {}, GL_SMOOTH, GL_LINE, GL_LINE, GL_BACK, GL_CW},
    {"CulledFrontFaces", BothFaces, {}, GL_SMOOTH, GL_FILL, GL_FILL, GL_FRONT},
    {"LinesInFrontPointsBehind", BothFaces, {}, GL_SMOOTH, GL_LINE, GL_POINT},
    {"Lines", Lines},
    {"SmoothBlendedLines", Lines, {}, GL_SMOOTH, GL_FILL, GL_FILL, 0, GL_CCW, true},
    {"SmoothBlendedWireframes", Polygons, {}, GL_SMOOTH, GL_LINE, GL_LINE, 0, GL_CCW, true},
    {"Formats", Formats},
    {"UnpackLayout",
     [](const Gl& gl) {
       gl.Enable(GL_TEXTURE_2D);
       // 3 x 3 texels inside rows of 5 (padded to 16 bytes), starting at row 1, column 1.
       gl.PixelStorei(GL_UNPACK_ALIGNMENT, 8);
       gl.PixelStorei(GL_UNPACK_ROW_LENGTH, 5);
       gl.PixelStorei(GL_UNPACK_SKIP_ROWS, 1);
       gl.PixelStorei(GL_UNPACK_SKIP_PIXELS, 1);
       gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
       gl.TexImage2D(GL_TEXTURE_2D, 0, 3, 3, 3, 0, GL_RGB, GL_UNSIGNED_BYTE, Texels(16, 5, 1).data());
       TexturedQuad(gl, 0, 1);
     }},
    {"ClampLinearAndTextureMatrix",
     [](const Gl& gl) {
       gl.Enable(GL_TEXTURE_2D);
       Texture(gl, 4, GL_RGBA, 4, GL_CLAMP);
       gl.TexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
       gl.MatrixMode(GL_TEXTURE);
       gl.Rotatef(30, 0, 0, 1);
       gl.Translatef(0.2f, 0.1f, 0);
       gl.MatrixMode(GL_MODELVIEW);
       TexturedQuad(gl, -0.5f, 1.5f);
     }},
    {"IncompleteTexturesDrawUntextured",
     [](const Gl& gl) {
       gl.Enable(GL_TEXTURE_2D);
       gl.Color3f(0.2f, 0.7f, 0.4f);
       GLuint names[2];
       gl.GenTextures(2, names);
       gl.BindTexture(GL_TEXTURE_2D, names[0]);  // the default filter wants mipmaps
       gl.TexImage2D(GL_TEXTURE_2D, 0, 3, 4, 4, 0, GL_RGB, GL_UNSIGNED_BYTE, Texels(4, 4, 3).data());
       gl.Viewport(0, 0, 21, 32), TexturedQuad(gl, 0, 1);
       gl.BindTexture(GL_TEXTURE_2D, names[1]);  // no image at all
       gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
       gl.TexImage2D(GL_TEXTURE_2D, 0, 3, 0, 0, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
       gl.Viewport(21, 0, 21, 32), TexturedQuad(gl, 0, 1);
       gl.DeleteTextures(2, names);  // deleting the bound texture binds 0
       gl.Viewport(42, 0, 21, 32), TexturedQuad(gl, 0, 1);
     }},
    {"PositionalLight", Light},
    {"PerspectiveDepthAndMatrices",
     [](const Gl& gl) {
       gl.Enable(GL_DEPTH_TEST);
       gl.MatrixMode(GL_PROJECTION);
       gl.Perspective(45.0, 1.3, 0.1, 20.0);
       gl.MatrixMode(GL_MODELVIEW);
       const float shear[16] = {1, 0, 0, 0, 0.3f, 1, 0, 0, 0, 0, 1, 0, 0, 0, -3, 1};
       gl.MultMatrixf(shear);
       gl.Rotatef(35, 0.2f, 1, 0.1f);
       gl.Scalef(1.2f, 0.8f, 1);
       Bump(gl);
       gl.Rotatef(90, 0, 1, 0);
       Bump(gl);
     }},
    {"BlendAlphaTestScissor",
     [](const Gl& gl) {
       gl.Enable(GL_SCISSOR_TEST);
       gl.Scissor(5, 9, 50, 40);
       gl.Enable(GL_ALPHA_TEST);
       gl.AlphaFunc(GL_GREATER, 0.4f);
       gl.Enable(GL_BLEND);
       gl.BlendFunc(GL_SRC_ALPHA, GL_ONE);
       for (float k = 0; k < 1.2f; k += 0.4f) {
         gl.Begin(GL_TRIANGLE_STRIP);  // particles pass colours above 1 and below 0
         gl.Color4f(1.6f, -0.1f, k, 0.2f), gl.Vertex2f(-0.9f + k, -0.9f);
         gl.Color4f(0.3f, 0.9f, 0.2f, 1.0f), gl.Vertex2f(0.3f + k, -0.9f);
         gl.Color4f(0.5f, 0.5f, 1.0f, 0.7f), gl.Vertex2f(-0.9f + k, 0.9f);
         gl.Color4fv(std::array<float, 4>{0.1f, 0.2f, 0.9f, 0.5f}.data()), gl.Vertex2f(0.3f + k, 0.9f);
         gl.End();
       }
     }},
    {"ClientArrays",
     [](const Gl& gl) {
       gl.Enable(GL_TEXTURE_2D);
       Texture(gl, 3, GL_RGB, 3);
       gl.TexCoord2f(0.3f, 0.6f);  // stands in while the texture-coordinate array is off
       gl.Viewport(0, 0, 21, 32), Arrays(gl, GL_QUADS, true);
       gl.Viewport(21, 0, 21, 32), Arrays(gl, GL_QUADS, false);
       gl.ShadeModel(GL_FLAT);
       gl.PolygonMode(GL_FRONT_AND_BACK, GL_LINE);
       gl.Viewport(0, 32, 21, 32), Arrays(gl, GL_TRIANGLES, true);
       gl.Viewport(21, 32, 21, 32), Arrays(gl, GL_QUADS, true);
     }},
    // State that must read back as Mesa's.
    {"PushAllRestoresEveryGroup",
     [](const Gl& gl) {
       gl.Enable(GL_TEXTURE_2D);
       Texture(gl, 4, GL_RGBA, 4);
       gl.PushAttrib(GL_ALL_ATTRIB_BITS);
       gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
       gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
       ChangeEverything(gl);
       gl.Disable(GL_TEXTURE_2D);
       gl.PopAttrib();
       // Mesa does not always give back the current colour (see the closing note of the layer).
       gl.Color3f(1, 1, 1);
       // Textured, modulated, filtered linearly, unlit and unblended, over the whole picture.
       TexturedQuad(gl, 0, 2);
     },
     kEveryGroup},
    {"PushOfOneGroupRestoresOnlyThatGroup",
     [](const Gl& gl) {
       gl.PushAttrib(GL_COLOR_BUFFER_BIT | GL_LIGHTING_BIT);
       ChangeEverything(gl);
       gl.PopAttrib();
     },
     kEveryGroup},
    {"NestedPushesOfTheEffectsMask",
     [](const Gl& gl) {
       gl.PushAttrib(0x000FFFFF);
       ChangeEverything(gl);
       gl.PushAttrib(GL_POLYGON_BIT | GL_VIEWPORT_BIT);
       gl.Viewport(9, 9, 9, 9);
       gl.PolygonMode(GL_FRONT, GL_POINT);
       gl.PopAttrib();
     },
     kEveryGroup},
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
    // Bad calls, each alone on a fresh state: GL's error must be Mesa's.
    {"UnknownCapability", [](const Gl& gl) { gl.Enable(0x1234); }},
    {"PopOfAnEmptyAttributeStack", [](const Gl& gl) { gl.PopAttrib(); }},
    {"PopOfTheLastMatrix", [](const Gl& gl) { gl.PopMatrix(); }},
    {"BeginInsideBegin", [](const Gl& gl) { gl.Begin(GL_QUADS), gl.Begin(GL_QUADS), gl.End(); }},
    {"StateChangeInsideBegin",
     [](const Gl& gl) { gl.Begin(GL_TRIANGLES), gl.Enable(GL_BLEND), gl.End(); },
     {GL_BLEND}},
    {"EndWithoutBegin", [](const Gl& gl) { gl.End(); }},
    {"UnknownPrimitive", [](const Gl& gl) { gl.Begin(0x20); }},
    {"TextureBorder",
     [](const Gl& gl) { gl.TexImage2D(GL_TEXTURE_2D, 0, 4, 1, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, nullptr); }},
    {"NegativeViewport", [](const Gl& gl) { gl.Viewport(0, 0, -1, 4); }, {GL_VIEWPORT}},
    {"IndicesOfFloats",
     [](const Gl& gl) { gl.DrawElements(GL_TRIANGLES, 3, GL_FLOAT, std::array<float, 3>{}.data()); }},
    {"UnknownBlendFactor", [](const Gl& gl) { gl.BlendFunc(GL_ONE, GL_ALPHA); }, {GL_BLEND_SRC}},
};

class LayerTest : public GlPair, public ::testing::WithParamInterface<Case> {};

// GL's error, the queries and the picture after the calls must be Mesa's.
TEST_P(LayerTest, MatchesDesktopGL) {
  const Case& c = GetParam();
  std::vector<uint8_t> pictures[2];  // RGBA, bottom row first
  std::vector<float> values[2];      // GL's error, then 16 floats per query
  for (int side : {0, 1})
    On(side, [&](const Gl& gl) {
      gl.ClearColor(0, 0, 0, 1);
      gl.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
      gl.ShadeModel(c.shade);
      gl.PolygonMode(GL_FRONT, c.front);
      gl.PolygonMode(GL_BACK, c.back);
      gl.FrontFace(c.winding);
      if (c.cull != 0) gl.Enable(GL_CULL_FACE), gl.CullFace(c.cull);
      if (c.smoothLines) {
        gl.Enable(GL_LINE_SMOOTH), gl.Hint(GL_LINE_SMOOTH_HINT, GL_DONT_CARE);
        gl.Enable(GL_BLEND), gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
      }
      c.scene(gl);
      values[side].assign(1 + 16 * c.queries.size(), -999.0f);  // untouched entries compare equal
      for (size_t q = 0; q < c.queries.size(); ++q) gl.GetFloatv(c.queries[q], &values[side][1 + 16 * q]);
      pictures[side].assign(kSize * kSize * 4, 0);
      gl.PixelStorei(GL_PACK_ALIGNMENT, 1);
      gl.ReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, pictures[side].data());
      values[side][0] = float(gl.GetError());  // the first error since the calls began
    });
  // The mean difference of red, green and blue (0 to 255), and the pixels with a channel off by more than 48.
  double mean = 0;
  int wrong = 0;
  for (size_t i = 0; i < pictures[0].size(); i += 4) {
    const auto off = [&](size_t k) { return std::abs(pictures[0][i + k] - pictures[1][i + k]); };
    mean += (off(0) + off(1) + off(2)) / (kSize * kSize * 3.0);
    wrong += std::max({off(0), off(1), off(2)}) > 48;
  }
  EXPECT_LE(mean, 0.5);
  EXPECT_LE(wrong, 2) << "mean difference " << mean;
  for (size_t i = 0; i < values[0].size(); ++i)
    EXPECT_NEAR(values[1][i], values[0][i], 1e-4 * (1 + std::fabs(values[0][i])))
        << (i == 0 ? "error" : "query ") << (i == 0 ? 0 : c.queries[(i - 1) / 16]) << " value "
        << (i - 1) % 16;
}

INSTANTIATE_TEST_SUITE_P(Layer, LayerTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// GLU is not linked here (it would call the layer for the reference), so gluLookAt is held to what it
// means: the eye goes to the origin, the centre 5 ahead onto -z, the eye plus up above.
TEST_F(GlPair, LookAtPutsTheCentreAheadAndUpUp) {
  On(1, [](const Gl& gl) {
    gluLookAt(1, 2, 3, 4, -2, 3, 0, 0.5, 1);
    float m[16];
    gl.GetFloatv(GL_MODELVIEW_MATRIX, m);
    const auto seen = [&](float x, float y, float z, int r) {
      return m[r] * x + m[4 + r] * y + m[8 + r] * z + m[12 + r];
    };
    for (int r = 0; r < 3; ++r) {
      EXPECT_NEAR(seen(1, 2, 3, r), 0, 1e-5) << r;
      EXPECT_NEAR(seen(4, -2, 3, r), r == 2 ? -5 : 0, 1e-5) << r;
    }
    EXPECT_GT(seen(1, 2.5f, 4, 1), 0.0f);
  });
}

}  // namespace
