// The layer draws what Mesa's desktop GL draws, case by case
//
// The layer draws what Mesa's desktop GL draws: each case runs one call sequence on both and compares the
// pictures. Tolerances allow rounding (the layer keeps vertex colours in bytes) and nothing more: a wrong
// provoking vertex, edge, face, texel or light shows as many wrong pixels.
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "GlPair.h"

namespace webgltest {
namespace {

constexpr GLenum kPolygonModes[] = {GL_TRIANGLES, GL_TRIANGLE_STRIP, GL_TRIANGLE_FAN,
                                    GL_QUADS,     GL_QUAD_STRIP,     GL_POLYGON};

// Cell k of a 3 x 2 grid over the 64 x 64 picture.
void Cell(const Gl& gl, int k) { gl.Viewport((k % 3) * 21, (k / 3) * 32, 21, 32); }

// Eight vertices in distinct colours: a zigzag for strips, a circle for everything else.
void Shape(const Gl& gl, GLenum mode, float mirror = 1.0f) {
  const bool strip = mode == GL_TRIANGLE_STRIP || mode == GL_QUAD_STRIP;
  gl.Begin(mode);
  for (int i = 0; i < 8; ++i) {
    gl.Color3f(static_cast<float>(i % 3) / 2, static_cast<float>(i % 4) / 3, static_cast<float>(i) / 7);
    const float angle = 0.785f * static_cast<float>(i) + 0.3f;
    const float x = strip ? -0.9f + 0.25f * static_cast<float>(i) : 0.9f * std::cos(angle);
    const float y = strip ? (i % 2 == 0 ? -0.7f : 0.7f) : 0.9f * std::sin(angle);
    gl.Vertex2f(mirror * x, y);
  }
  gl.End();
}

void AllPolygonModes(const Gl& gl) {
  for (int k = 0; k < 6; ++k) {
    Cell(gl, k);
    Shape(gl, kPolygonModes[k]);
  }
}

// Both windings of every mode: one as given, one mirrored.
void BothFaces(const Gl& gl) {
  for (int k = 0; k < 6; ++k) {
    Cell(gl, k);
    gl.PushMatrix();
    gl.Scalef(0.5f, 1.0f, 1.0f);
    gl.Translatef(-1.0f, 0.0f, 0.0f);
    Shape(gl, kPolygonModes[k]);
    gl.Translatef(2.0f, 0.0f, 0.0f);
    Shape(gl, kPolygonModes[k], -1.0f);
    gl.PopMatrix();
  }
}

GLuint Texture(const Gl& gl, GLint internalFormat, GLenum format, int width, int height,
               const std::vector<uint8_t>& texels, GLenum wrap = GL_REPEAT, GLenum filter = GL_NEAREST) {
  GLuint name = 0;
  gl.GenTextures(1, &name);
  gl.BindTexture(GL_TEXTURE_2D, name);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(filter));
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(filter));
  gl.TexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLfloat>(wrap));
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  gl.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
  gl.TexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, format, GL_UNSIGNED_BYTE, texels.data());
  return name;
}

// width x height texels of `components` bytes, every byte different from its neighbours.
std::vector<uint8_t> Texels(int width, int height, int components) {
  std::vector<uint8_t> texels(static_cast<size_t>(width * height * components));
  for (size_t i = 0; i < texels.size(); ++i) texels[i] = static_cast<uint8_t>((i * 83 + i / 7 * 29) % 256);
  return texels;
}

void TexturedQuad(const Gl& gl, float from, float to) {
  gl.Begin(GL_QUADS);
  gl.TexCoord2f(from, from), gl.Vertex2f(-0.9f, -0.9f);
  gl.TexCoord2f(to, from), gl.Vertex2f(0.9f, -0.9f);
  gl.TexCoord2fv(std::array<float, 2>{to, to}.data()), gl.Vertex2f(0.9f, 0.9f);
  gl.TexCoord2f(from, to), gl.Vertex2f(-0.9f, 0.9f);
  gl.End();
}

void Formats(const Gl& gl, GLenum env) {
  gl.Enable(GL_TEXTURE_2D);
  gl.Enable(GL_BLEND);
  gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLint>(env));
  gl.Color4f(0.9f, 0.6f, 0.3f, 0.8f);
  const struct {
    GLint internal;
    GLenum format;
    int components;
  } kFormats[] = {{3, GL_RGB, 3},
                  {4, GL_RGBA, 4},
                  {GL_ALPHA, GL_ALPHA, 1},
                  {1, GL_LUMINANCE, 1},
                  {2, GL_LUMINANCE_ALPHA, 2},
                  {GL_RGB, GL_RGBA, 4}};
  for (int k = 0; k < 6; ++k) {
    Cell(gl, k);
    Texture(gl, kFormats[k].internal, kFormats[k].format, 4, 4, Texels(4, 4, kFormats[k].components),
            GL_REPEAT, GL_LINEAR);
    TexturedQuad(gl, 0, 1);
  }
}

// A 6 x 6 patch of quads bulging towards the viewer, with its normals.
void Bump(const Gl& gl) {
  gl.Begin(GL_QUADS);
  for (int i = 0; i < 6; ++i) {
    for (int j = 0; j < 6; ++j) {
      const int corners[4][2] = {{i, j}, {i + 1, j}, {i + 1, j + 1}, {i, j + 1}};
      for (const auto& c : corners) {
        const float x = static_cast<float>(c[0]) / 3 - 1, y = static_cast<float>(c[1]) / 3 - 1;
        gl.Normal3f(x, y, 1.2f);
        gl.Color4f(0.3f, 0.9f, 0.5f, 1.0f);
        gl.Vertex3f(x, y, 0.5f - 0.3f * (x * x + y * y));
      }
    }
  }
  gl.End();
}

void Light(const Gl& gl, bool colorMaterial) {
  const float ambient[4] = {0.5f, 0.4f, 0.3f, 1}, light[4] = {0.2f, 0.2f, 0.3f, 1};
  const float diffuse[4] = {1.0f, 0.8f, 0.6f, 1}, position[4] = {0.5f, 0.5f, 2.0f, 1};
  gl.Enable(GL_LIGHTING);
  gl.Enable(GL_LIGHT0);
  if (colorMaterial) gl.Enable(GL_COLOR_MATERIAL);
  gl.LightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
  gl.Lightfv(GL_LIGHT0, GL_AMBIENT, light);
  gl.Lightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
  gl.PushMatrix();
  gl.Translatef(-1.0f, 0.5f, 0.0f);  // the position is taken in these eye coordinates
  gl.Lightfv(GL_LIGHT0, GL_POSITION, position);
  gl.PopMatrix();
  gl.Rotatef(20, 1, 1, 0);
  Bump(gl);
}

// Client arrays: a 5 x 5 grid drawn with 32-bit indices, its colours in bytes.
void Arrays(const Gl& gl, GLenum mode, bool texCoords) {
  static std::vector<float> positions, st;
  static std::vector<uint8_t> colors;
  static std::vector<uint32_t> indices;
  positions.clear(), st.clear(), colors.clear(), indices.clear();
  for (int i = 0; i < 25; ++i) {
    positions.insert(positions.end(),
                     {static_cast<float>(i % 5) / 2.2f - 0.9f, static_cast<float>(i / 5) / 2.2f - 0.9f, 0});
    st.insert(st.end(), {static_cast<float>(i % 5) / 4, static_cast<float>(i / 5) / 4});
    colors.insert(colors.end(), {static_cast<uint8_t>(i * 10), static_cast<uint8_t>(250 - i * 9), 128, 255});
  }
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c)
      indices.insert(indices.end(),
                     {static_cast<uint32_t>(r * 5 + c), static_cast<uint32_t>(r * 5 + c + 1),
                      static_cast<uint32_t>(r * 5 + c + 6), static_cast<uint32_t>(r * 5 + c + 5)});
  }
  gl.PushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
  gl.VertexPointer(3, GL_FLOAT, 0, positions.data());
  gl.ColorPointer(4, GL_UNSIGNED_BYTE, 0, colors.data());
  gl.TexCoordPointer(2, GL_FLOAT, 0, st.data());
  gl.EnableClientState(GL_VERTEX_ARRAY);
  gl.EnableClientState(GL_COLOR_ARRAY);
  if (texCoords) gl.EnableClientState(GL_TEXTURE_COORD_ARRAY);
  gl.DrawElements(mode, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT, indices.data());
  gl.PopClientAttrib();
}

struct Case {
  const char* name;
  void (*scene)(const Gl& gl);
};

const Case kCases[] = {
    {"SmoothPolygons", AllPolygonModes},
    {"FlatPolygons",
     [](const Gl& gl) {
       gl.ShadeModel(GL_FLAT);
       AllPolygonModes(gl);
     }},
    {"Wireframes",
     [](const Gl& gl) {
       gl.PolygonMode(GL_FRONT_AND_BACK, GL_LINE);
       AllPolygonModes(gl);
     }},
    {"FlatWireframes",
     [](const Gl& gl) {
       gl.ShadeModel(GL_FLAT);
       gl.PolygonMode(GL_FRONT_AND_BACK, GL_LINE);
       AllPolygonModes(gl);
     }},
    {"CulledWireframesClockwise",
     [](const Gl& gl) {
       gl.PolygonMode(GL_FRONT_AND_BACK, GL_LINE);
       gl.Enable(GL_CULL_FACE);
       gl.FrontFace(GL_CW);
       BothFaces(gl);
     }},
    {"CulledFrontFaces",
     [](const Gl& gl) {
       gl.Enable(GL_CULL_FACE);
       gl.CullFace(GL_FRONT);
       BothFaces(gl);
     }},
    {"LinesInFrontPointsBehind",
     [](const Gl& gl) {
       gl.PolygonMode(GL_FRONT, GL_LINE);
       gl.PolygonMode(GL_BACK, GL_POINT);
       BothFaces(gl);
     }},
    {"Lines",
     [](const Gl& gl) {
       const GLenum modes[] = {GL_LINES, GL_LINE_STRIP, GL_LINE_LOOP};
       for (int k = 0; k < 6; ++k) {
         Cell(gl, k);
         gl.ShadeModel(k < 3 ? GL_SMOOTH : GL_FLAT);
         Shape(gl, modes[k % 3]);
       }
     }},
    {"SmoothBlendedLinesAndWireframes",
     [](const Gl& gl) {
       gl.Enable(GL_LINE_SMOOTH);
       gl.Enable(GL_BLEND);
       gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
       gl.Hint(GL_LINE_SMOOTH_HINT, GL_DONT_CARE);
       Cell(gl, 0);
       Shape(gl, GL_LINES);
       Cell(gl, 1);
       gl.ShadeModel(GL_FLAT);
       Shape(gl, GL_LINE_LOOP);
       gl.ShadeModel(GL_SMOOTH);
       gl.PolygonMode(GL_FRONT_AND_BACK, GL_LINE);
       for (int k = 2; k < 6; ++k) {
         Cell(gl, k);
         Shape(gl, kPolygonModes[k]);
       }
     }},
    {"ModulatedFormats", [](const Gl& gl) { Formats(gl, GL_MODULATE); }},
    {"ReplacedFormats", [](const Gl& gl) { Formats(gl, GL_REPLACE); }},
    {"UnpackLayout",
     [](const Gl& gl) {
       gl.Enable(GL_TEXTURE_2D);
       // 3 x 3 texels inside rows of 5 (padded to 16 bytes), starting at row 1, column 1.
       gl.PixelStorei(GL_UNPACK_ALIGNMENT, 8);
       gl.PixelStorei(GL_UNPACK_ROW_LENGTH, 5);
       gl.PixelStorei(GL_UNPACK_SKIP_ROWS, 1);
       gl.PixelStorei(GL_UNPACK_SKIP_PIXELS, 1);
       GLuint name = 0;
       gl.GenTextures(1, &name);
       gl.BindTexture(GL_TEXTURE_2D, name);
       gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
       gl.TexImage2D(GL_TEXTURE_2D, 0, 3, 3, 3, 0, GL_RGB, GL_UNSIGNED_BYTE, Texels(16, 5, 1).data());
       TexturedQuad(gl, 0, 1);
     }},
    {"ClampAndRepeatLinear",
     [](const Gl& gl) {
       gl.Enable(GL_TEXTURE_2D);
       Texture(gl, 4, GL_RGBA, 4, 4, Texels(4, 4, 4), GL_CLAMP, GL_LINEAR);
       gl.TexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
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
       Cell(gl, 0);
       TexturedQuad(gl, 0, 1);
       gl.BindTexture(GL_TEXTURE_2D, names[1]);  // no image at all
       gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
       gl.TexImage2D(GL_TEXTURE_2D, 0, 3, 0, 0, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
       Cell(gl, 1);
       TexturedQuad(gl, 0, 1);
       gl.DeleteTextures(2, names);  // deleting the bound texture binds 0
       Cell(gl, 2);
       TexturedQuad(gl, 0, 1);
     }},
    {"PositionalLightDefaultMaterial", [](const Gl& gl) { Light(gl, false); }},
    {"PositionalLightColorMaterial", [](const Gl& gl) { Light(gl, true); }},
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
       for (int k = 0; k < 3; ++k) {
         gl.Begin(GL_TRIANGLE_STRIP);  // particles pass colours above 1 and below 0
         gl.Color4f(1.6f, -0.1f, 0.4f * k, 0.2f), gl.Vertex2f(-0.9f + 0.4f * k, -0.9f);
         gl.Color4f(0.3f, 0.9f, 0.2f, 1.0f), gl.Vertex2f(0.3f + 0.4f * k, -0.9f);
         gl.Color4f(0.5f, 0.5f, 1.0f, 0.7f), gl.Vertex2f(-0.9f + 0.4f * k, 0.9f);
         gl.Color4fv(std::array<float, 4>{0.1f, 0.2f, 0.9f, 0.5f}.data()), gl.Vertex2f(0.3f + 0.4f * k, 0.9f);
         gl.End();
       }
     }},
    {"ClientArrays",
     [](const Gl& gl) {
       gl.Enable(GL_TEXTURE_2D);
       Texture(gl, 3, GL_RGB, 4, 4, Texels(4, 4, 3), GL_REPEAT, GL_LINEAR);
       gl.TexCoord2f(0.3f, 0.6f);  // stands in while the texture-coordinate array is off
       Cell(gl, 0);
       Arrays(gl, GL_QUADS, true);
       Cell(gl, 1);
       Arrays(gl, GL_QUADS, false);
       gl.ShadeModel(GL_FLAT);
       gl.PolygonMode(GL_FRONT_AND_BACK, GL_LINE);
       Cell(gl, 3);
       Arrays(gl, GL_TRIANGLES, true);
       Cell(gl, 4);
       Arrays(gl, GL_QUADS, true);
     }},
    {"AttributeStackRestores",
     [](const Gl& gl) {
       gl.Enable(GL_TEXTURE_2D);
       Texture(gl, 4, GL_RGBA, 4, 4, Texels(4, 4, 4), GL_REPEAT, GL_LINEAR);
       gl.PushAttrib(GL_ALL_ATTRIB_BITS);
       gl.Disable(GL_TEXTURE_2D);
       gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
       gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
       gl.Color3f(0.2f, 0.3f, 0.9f);
       gl.PolygonMode(GL_FRONT_AND_BACK, GL_LINE);
       gl.Viewport(0, 0, 32, 32);
       gl.Enable(GL_BLEND);
       gl.BlendFunc(GL_ONE, GL_ONE);
       gl.ShadeModel(GL_FLAT);
       AllPolygonModes(gl);
       gl.PopAttrib();
       gl.PushAttrib(0x000FFFFF);
       gl.Enable(GL_LIGHTING);
       gl.PopAttrib();
       // Mesa does not always give back the current colour (see the closing note of the layer).
       gl.Color3f(1, 1, 1);
       TexturedQuad(gl, 0, 2);  // modulated, filtered linearly, not blended, over the whole picture
     }},
    {"TextureMatrix",
     [](const Gl& gl) {
       gl.Enable(GL_TEXTURE_2D);
       Texture(gl, 3, GL_RGB, 4, 4, Texels(4, 4, 3), GL_REPEAT, GL_LINEAR);
       gl.MatrixMode(GL_TEXTURE);
       gl.Rotatef(30, 0, 0, 1);
       gl.Translatef(0.2f, 0.1f, 0);
       gl.MatrixMode(GL_MODELVIEW);
       TexturedQuad(gl, 0, 1);
     }},
};

class PictureTest : public GlPair, public ::testing::WithParamInterface<Case> {};

TEST_P(PictureTest, MatchesDesktopGL) {
  std::vector<uint8_t> reference, layer;
  Draw(GetParam().scene, &reference, &layer);
  const Difference d = Compare(reference, layer);
  EXPECT_LE(d.mean, 0.5);
  EXPECT_LE(d.wrong, 2) << "mean difference " << d.mean;
  if (HasFailure()) std::printf("pictures in %s\n", SavePictures(GetParam().name, reference, layer).c_str());
  OnLayer([](const Gl& gl) { EXPECT_EQ(gl.GetError(), static_cast<GLenum>(GL_NO_ERROR)); });
}

INSTANTIATE_TEST_SUITE_P(Layer, PictureTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace webgltest
