// State: GL 1.1's initial values and which attribute group saves what.
#include "platform/webgl/State.h"

namespace webgl {

const std::array<CapInfo, kCapCount> kCapabilities = {{
    {GL_TEXTURE_2D, GL_TEXTURE_BIT, false},
    {GL_DEPTH_TEST, GL_DEPTH_BUFFER_BIT, false},
    {GL_LIGHTING, GL_LIGHTING_BIT, false},
    {GL_LIGHT0, GL_LIGHTING_BIT, false},
    {GL_BLEND, GL_COLOR_BUFFER_BIT, false},
    {GL_ALPHA_TEST, GL_COLOR_BUFFER_BIT, false},
    {GL_CULL_FACE, GL_POLYGON_BIT, false},
    {GL_SCISSOR_TEST, GL_SCISSOR_BIT, false},
    {GL_FOG, GL_FOG_BIT, false},
    {GL_LINE_SMOOTH, GL_LINE_BIT, false},
    {GL_COLOR_MATERIAL, GL_LIGHTING_BIT, false},
    {GL_NORMALIZE, GL_TRANSFORM_BIT, false},
    {GL_DITHER, GL_COLOR_BUFFER_BIT, true},
}};

int FindCap(GLenum name) {
  for (int i = 0; i < kCapCount; ++i) {
    if (kCapabilities[i].name == name) return i;
  }
  return -1;
}

State::State() {
  for (int i = 0; i < kCapCount; ++i) enabled[i] = kCapabilities[i].initial;
}

void RestoreGroups(const State& saved, GLbitfield mask, State* state) {
  for (int i = 0; i < kCapCount; ++i) {
    if (mask & (GL_ENABLE_BIT | kCapabilities[i].groups)) state->enabled[i] = saved.enabled[i];
  }
  if (mask & GL_CURRENT_BIT) {
    state->color = saved.color;
    state->normal = saved.normal;
    state->texCoord = saved.texCoord;
  }
  if (mask & GL_POLYGON_BIT) {
    state->frontMode = saved.frontMode;
    state->backMode = saved.backMode;
    state->cullMode = saved.cullMode;
    state->frontFace = saved.frontFace;
  }
  if (mask & GL_LIGHTING_BIT) {
    state->shadeModel = saved.shadeModel;
    state->modelAmbient = saved.modelAmbient;
    state->lightAmbient = saved.lightAmbient;
    state->lightDiffuse = saved.lightDiffuse;
    state->lightSpecular = saved.lightSpecular;
    state->lightPosition = saved.lightPosition;
  }
  if (mask & GL_COLOR_BUFFER_BIT) {
    state->blendSrc = saved.blendSrc;
    state->blendDst = saved.blendDst;
    state->alphaFunc = saved.alphaFunc;
    state->alphaRef = saved.alphaRef;
    state->clearColor = saved.clearColor;
  }
  if (mask & GL_HINT_BIT) state->hints = saved.hints;
  if (mask & GL_SCISSOR_BIT) state->scissor = saved.scissor;
  if (mask & GL_VIEWPORT_BIT) state->viewport = saved.viewport;
  if (mask & GL_TEXTURE_BIT) {
    state->texture = saved.texture;
    state->envMode = saved.envMode;
  }
  if (mask & GL_TRANSFORM_BIT) state->matrixMode = saved.matrixMode;
}

}  // namespace webgl
