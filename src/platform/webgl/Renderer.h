// Renderer: the ES 3 side of the layer: one shader that does GL 1.1's per-vertex lighting,
// texture environment and alpha test, one stream of vertex and index data, and the
// fixed-function state ES still has (blending, depth, culling, scissor, viewport).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

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
};
static_assert(sizeof(Uniforms) == 368, "std140 layout of the uniform block");

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

class Renderer {
 public:
  // Null, with `error` set, when the context lacks a function or the shader does not build.
  static std::unique_ptr<Renderer> Create(ProcLoader load, std::string* error);
  Renderer(const Renderer&) = delete;
  Renderer& operator=(const Renderer&) = delete;

  // `texture`: the ES texture to sample, when uniforms.texturing is set.
  void Draw(const Batch& batch, const Uniforms& uniforms, GLuint texture, const Pipeline& pipeline);
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
  void Apply(const Pipeline& pipeline);
  void Toggle(GLenum cap, bool on, bool was);

  EsApi es_;
  GLuint program_ = 0, vertexArray_ = 0, vertexBuffer_ = 0, indexBuffer_ = 0, uniformBuffer_ = 0;
  Pipeline applied_;
};

// The shader program, or 0 with `error` set.
GLuint BuildProgram(const EsApi& es, std::string* error);

}  // namespace webgl
