// The layer draws what Mesa's desktop GL draws, one call sequence per case
//
// Tolerances allow rounding (the layer keeps vertex colours in bytes) and nothing more: a wrong provoking
// vertex, edge, face, texel or light shows as many wrong pixels.
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "GlPair.h"

namespace webgltest {
namespace {

constexpr GLenum kPolygonModes[] = {GL_TRIANGLES, GL_TRIANGLE_STRIP, GL_TRIANGLE_FAN,
                                    GL_QUADS,     GL_QUAD_STRIP,     GL_POLYGON};
constexpr GLenum kLineModes[] = {GL_LINES, GL_LINE_STRIP, GL_LINE_LOOP,
                                 GL_LINES, GL_LINE_STRIP, GL_LINE_LOOP};

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
  for (int k = 0; k < 6; ++k) gl.ShadeModel(k < 3 ? GL_SMOOTH : GL_FLAT), Shape(gl, k, kLineModes[k]);
}

// Both windings of every mode: as given on the left of the cell, mirrored on the right.
void BothFaces(const Gl& gl) {
  gl.Scalef(0.5f, 1.0f, 1.0f);
  for (int k = 0; k < 6; ++k) {
    gl.Translatef(-1.0f, 0.0f, 0.0f);
    Shape(gl, k, kPolygonModes[k]);
    gl.Translatef(2.0f, 0.0f, 0.0f);
    Shape(gl, k, kPolygonModes[k], -1.0f);
    gl.Translatef(-1.0f, 0.0f, 0.0f);
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
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
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
  static std::vector<float> positions, st;
  static std::vector<uint8_t> colors;
  static std::vector<uint32_t> indices;
  positions.clear(), st.clear(), colors.clear(), indices.clear();
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

struct Case {
  const char* name;
  void (*scene)(const Gl& gl);
  GLenum shade = GL_SMOOTH, front = GL_FILL, back = GL_FILL, cull = 0, winding = GL_CCW;
  bool smoothLines = false;  // antialiased and blended
};

const Case kCases[] = {
    {"SmoothPolygons", Polygons},
    {"FlatPolygons", Polygons, GL_FLAT},
    {"FlatWireframes", Polygons, GL_FLAT, GL_LINE, GL_LINE},
    {"CulledWireframesClockwise", BothFaces, GL_SMOOTH, GL_LINE, GL_LINE, GL_BACK, GL_CW},
    {"CulledFrontFaces", BothFaces, GL_SMOOTH, GL_FILL, GL_FILL, GL_FRONT},
    {"LinesInFrontPointsBehind", BothFaces, GL_SMOOTH, GL_LINE, GL_POINT},
    {"Lines", Lines},
    {"SmoothBlendedLines", Lines, GL_SMOOTH, GL_FILL, GL_FILL, 0, GL_CCW, true},
    {"SmoothBlendedWireframes", Polygons, GL_SMOOTH, GL_LINE, GL_LINE, 0, GL_CCW, true},
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
    {"AttributeStackRestores",
     [](const Gl& gl) {
       gl.Enable(GL_TEXTURE_2D);
       Texture(gl, 4, GL_RGBA, 4);
       gl.PushAttrib(GL_ALL_ATTRIB_BITS);
       gl.Disable(GL_TEXTURE_2D);
       gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
       gl.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
       gl.PolygonMode(GL_FRONT_AND_BACK, GL_LINE);
       gl.Viewport(0, 0, 32, 32);
       gl.Enable(GL_BLEND);
       gl.BlendFunc(GL_ONE, GL_ONE);
       Polygons(gl);
       gl.PopAttrib();
       // Mesa does not always give back the current colour (see the closing note of the layer).
       gl.Color3f(1, 1, 1);
       TexturedQuad(gl, 0, 2);  // modulated, filtered linearly, not blended, over the whole picture
     }},
};

class PictureTest : public GlPair, public ::testing::WithParamInterface<Case> {};

TEST_P(PictureTest, MatchesDesktopGL) {
  const Case& c = GetParam();
  std::vector<uint8_t> pictures[2];  // RGBA, bottom row first
  for (int side : {0, 1}) {
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
      pictures[side].assign(kSize * kSize * 4, 0);
      gl.PixelStorei(GL_PACK_ALIGNMENT, 1);
      gl.ReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, pictures[side].data());
    });
  }
  // The mean difference of red, green and blue (0 to 255), and the pixels with a channel off by more than 48.
  double mean = 0;
  int wrong = 0;
  for (size_t i = 0; i < pictures[0].size(); i += 4) {
    int worst = 0;
    for (size_t k = i; k < i + 3; ++k) {
      mean += std::abs(pictures[0][k] - pictures[1][k]) / (kSize * kSize * 3.0);
      worst = std::max(worst, std::abs(pictures[0][k] - pictures[1][k]));
    }
    wrong += worst > 48;
  }
  EXPECT_LE(mean, 0.5);
  EXPECT_LE(wrong, 2) << "mean difference " << mean;
  On(1, [](const Gl& gl) { EXPECT_EQ(gl.GetError(), GLenum(GL_NO_ERROR)); });
}

INSTANTIATE_TEST_SUITE_P(Layer, PictureTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace webgltest
