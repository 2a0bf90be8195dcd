// Setup: from GL 1.1 state to what one ES draw needs
//
// From GL 1.1 state to what one ES draw needs: the shader's uniforms, ES's own state, the rules for polygons,
// and the vertex that glVertex makes of the current values.
#include <algorithm>
#include <cstring>

#include "platform/webgl/Context.h"

namespace webgl {
namespace {

bool Linear(const TextureParams& p) { return p.minFilter == GL_LINEAR || p.magFilter == GL_LINEAR; }

}  // namespace

const TextureObject* Context::SampledTexture() const {
  if (!state.enabled[kTexture2D]) return nullptr;
  const auto it = textures_.find(state.texture);
  return it != textures_.end() && it->second.Complete() ? &it->second : nullptr;
}

Uniforms Context::MakeUniforms(const TextureObject* texture) const {
  Uniforms u{};
  const Mat4& modelView = Matrix(GL_MODELVIEW);
  const Mat4 mvp = Multiply(Matrix(GL_PROJECTION), modelView);
  std::memcpy(u.mvp, mvp.data(), sizeof u.mvp);
  std::memcpy(u.modelView, modelView.data(), sizeof u.modelView);
  std::memcpy(u.texMatrix, Matrix(GL_TEXTURE).data(), sizeof u.texMatrix);
  const auto normal = NormalMatrix(modelView);
  std::memcpy(u.normalMatrix, normal.data(), sizeof u.normalMatrix);
  std::memcpy(u.lightPosition, state.lightPosition.data(), sizeof u.lightPosition);
  std::memcpy(u.lightAmbient, state.lightAmbient.data(), sizeof u.lightAmbient);
  std::memcpy(u.lightDiffuse, state.lightDiffuse.data(), sizeof u.lightDiffuse);
  std::memcpy(u.sceneAmbient, state.modelAmbient.data(), sizeof u.sceneAmbient);
  u.lighting = state.enabled[kLighting];
  u.light0 = state.enabled[kLight0];
  u.colorMaterial = state.enabled[kColorMaterial];
  u.normalize = state.enabled[kNormalize];
  u.flat = state.shadeModel == GL_FLAT;
  u.alphaFunc = static_cast<int32_t>(state.enabled[kAlphaTest] ? state.alphaFunc : GL_ALWAYS);
  u.alphaRef = std::clamp(state.alphaRef, 0.0f, 1.0f);
  if (texture != nullptr) {
    u.texturing = 1;
    u.replace = state.envMode == GL_REPLACE;
    u.texColor = texture->base.color;
    u.texAlpha = texture->base.alpha;
    u.clampS = texture->params.wrapS == GL_CLAMP && Linear(texture->params);
    u.clampT = texture->params.wrapT == GL_CLAMP && Linear(texture->params);
    u.texWidth = static_cast<float>(texture->width);
    u.texHeight = static_cast<float>(texture->height);
  }
  return u;
}

Pipeline Context::MakePipeline() const {
  Pipeline p;
  p.blend = state.enabled[kBlend];
  p.blendSrc = state.blendSrc;
  p.blendDst = state.blendDst;
  p.depthTest = state.enabled[kDepthTest];
  p.cullFace = state.enabled[kCullFace];
  p.cullMode = state.cullMode;
  p.frontFace = state.frontFace;
  p.scissorTest = state.enabled[kScissorTest];
  p.scissor = state.scissor;
  p.viewport = state.viewport;
  return p;
}

FaceRules Context::MakeFaceRules() const {
  FaceRules rules;
  rules.frontMode = state.frontMode;
  rules.backMode = state.backMode;
  rules.cull = state.enabled[kCullFace];
  rules.cullMode = state.cullMode;
  rules.frontFace = state.frontFace;
  rules.flat = state.shadeModel == GL_FLAT;
  rules.mvp = Multiply(Matrix(GL_PROJECTION), Matrix(GL_MODELVIEW));
  return rules;
}

Vertex Context::CurrentVertex(float x, float y, float z) const {
  Vertex v;
  v.position[0] = x;
  v.position[1] = y;
  v.position[2] = z;
  v.texCoord[0] = state.texCoord[0];
  v.texCoord[1] = state.texCoord[1];
  for (int i = 0; i < 3; ++i) v.normal[i] = state.normal[i];
  for (int i = 0; i < 4; ++i) v.color[i] = state.color[i];
  return v;
}

}  // namespace webgl
