// Renderer: the ES 3 side of the layer: shader variants, vertex stream and ES's own state
//
// The ES 3 side of the layer: the shader variants that do GL 1.1's per-vertex lighting, texture environment,
// alpha test and smooth lines, one stream of vertex and index data, and the fixed-function state ES still has
// (blending, depth, culling, scissor, viewport).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/webgl/Batch.h"
#include "platform/webgl/EsApi.h"

namespace webgl {

// The shader's uniform block "Fixed", std140.
struct Uniforms {
  float mvp[16];
  float modelView[16];
  float texMatrix[16];
  float normalMatrix[12];  // three columns of four
  float lightPosition[4];  // eye coordinates
  float lightAmbient[4];
  float lightDiffuse[4];
  float sceneAmbient[4];  // the light model's ambient
  float alphaRef, texWidth, texHeight, unused;
  int32_t lighting, light0, colorMaterial, normalize;
  int32_t flat, texturing, replace, texColor;   // texColor, texAlpha: the texture's base format
  int32_t texAlpha, alphaFunc, clampS, clampT;  // clampS, clampT: GL_CLAMP's border applies
  float viewport[4];                            // for lines widened in window coordinates
  int32_t smoothLines, unused2[3];
};
static_assert(sizeof(Uniforms) == 400, "std140 layout of the uniform block");

// A corner of the quad a smooth line becomes: the vertex of one end, the position of the other
// end, and which corner (across the line, along it; -1 at the first end).
struct LineCorner {
  Vertex vertex;
  float other[3];
  float corner[2];
};

// What ES keeps of the fixed-function state; the enums are GL's, which ES shares.
struct Pipeline {
  bool blend = false;
  GLenum blendSrc = GL_ONE, blendDst = GL_ZERO;
  bool depthTest = false;
  bool cullFace = false;
  GLenum cullMode = GL_BACK, frontFace = GL_CCW;
  bool scissorTest = false;
  std::array<GLint, 4> scissor{}, viewport{};
  bool operator==(const Pipeline&) const = default;
};

struct Sampling {
  GLenum minFilter, magFilter, wrapS, wrapT;  // ES values
};

// Features a shader variant has (the rest are uniforms), as bits.
constexpr unsigned kLightingFeature = 1, kTexturingFeature = 2, kFlatFeature = 4, kAlphaTestFeature = 8,
                   kSmoothLinesFeature = 16, kFeatureCount = 32;

class Renderer {
 public:
  // Null, with `error` set, when the context lacks a function or the shader does not build.
  static std::unique_ptr<Renderer> Create(ProcLoader load, std::string* error);
  Renderer(const Renderer&) = delete;
  Renderer& operator=(const Renderer&) = delete;

  // `texture`: the ES texture to sample, when uniforms.texturing is set.
  void Draw(const Batch& batch, const Uniforms& uniforms, GLuint texture, const Pipeline& pipeline);
  // GL_LINES with GL_LINE_SMOOTH, as Mesa's draw module does them: each line a quad two pixels
  // wide and a pixel longer at each end, unculled, its alpha scaled by the pixel's coverage.
  void DrawSmoothLines(const Batch& lines, Uniforms uniforms, GLuint texture, Pipeline pipeline);
  void Clear(GLbitfield mask, const std::array<float, 4>& color, const Pipeline& pipeline);
  // Tightly packed RGBA rows, bottom first.
  void ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, uint8_t* rgba);
  GLuint CreateTexture();
  void DeleteTexture(GLuint texture);
  void UploadTexture(GLuint texture, GLsizei width, GLsizei height, const uint8_t* rgba);
  void SetSampling(GLuint texture, const Sampling& sampling);
  void Finish() { es_.Finish(); }
  void Flush() { es_.Flush(); }
  std::array<GLint, 4> DrawableViewport();
  GLint MaxTextureSize();

 private:
  Renderer() = default;
  bool Build(std::string* error);
  // The variant for `features`, built at first use (0, with `error` set, when it does not build).
  GLuint Program(unsigned features, std::string* error);
  void BuildVertexArrays();
  void Apply(const Pipeline& pipeline);
  void Submit(GLenum primitive, size_t vertexBytes, const void* vertices,
              const std::vector<uint32_t>& indices, const Uniforms& uniforms, GLuint texture,
              const Pipeline& pipeline);
  void Toggle(GLenum cap, bool on, bool was);

  EsApi es_;
  std::array<GLuint, kFeatureCount> programs_{};
  GLuint program_ = 0, uniformBuffer_ = 0;
  GLuint vertexArray_ = 0, vertexBuffer_ = 0, indexBuffer_ = 0;  // Vertex
  GLuint lineArray_ = 0, lineBuffer_ = 0, lineIndexBuffer_ = 0;  // LineCorner
  std::vector<LineCorner> corners_;
  std::vector<uint32_t> cornerIndices_;
  Pipeline applied_;
};

// The shader program with `features`, or 0 with `error` set.
GLuint BuildProgram(const EsApi& es, unsigned features, std::string* error);

}  // namespace webgl
