// State: GL 1.1's server and client state as far as the subset has it
//
// GL 1.1's server state as far as the subset has it, in GL's attribute groups, with GL's initial values; and
// the client state (pixel stores, arrays).
#pragma once

#include <GL/gl.h>

#include <array>
#include <cstdint>

#include "platform/webgl/Matrix.h"

namespace webgl {

// The capabilities glEnable knows, in the order of kCapabilities (State.cpp).
enum Cap {
  kTexture2D,
  kDepthTest,
  kLighting,
  kLight0,
  kBlend,
  kAlphaTest,
  kCullFace,
  kScissorTest,
  kFog,
  kLineSmooth,
  kColorMaterial,
  kNormalize,
  kDither,
  kCapCount
};

struct CapInfo {
  GLenum name;
  GLbitfield groups;  // the attribute groups that save it besides GL_ENABLE_BIT
  bool initial;
};

extern const std::array<CapInfo, kCapCount> kCapabilities;
int FindCap(GLenum name);  // -1 when unknown

struct State {
  // GL_CURRENT_BIT
  Vec4 color = {1, 1, 1, 1};
  std::array<float, 3> normal = {0, 0, 1};
  std::array<float, 2> texCoord = {0, 0};
  // GL_ENABLE_BIT (and the groups of kCapabilities)
  std::array<bool, kCapCount> enabled{};
  // GL_POLYGON_BIT
  GLenum frontMode = GL_FILL, backMode = GL_FILL, cullMode = GL_BACK, frontFace = GL_CCW;
  // GL_LIGHTING_BIT
  GLenum shadeModel = GL_SMOOTH;
  Vec4 modelAmbient = {0.2f, 0.2f, 0.2f, 1};
  Vec4 lightAmbient = {0, 0, 0, 1}, lightDiffuse = {1, 1, 1, 1}, lightSpecular = {1, 1, 1, 1};
  Vec4 lightPosition = {0, 0, 1, 0};  // eye coordinates
  // GL_COLOR_BUFFER_BIT
  GLenum blendSrc = GL_ONE, blendDst = GL_ZERO, alphaFunc = GL_ALWAYS;
  float alphaRef = 0;
  Vec4 clearColor = {0, 0, 0, 0};
  // GL_HINT_BIT: perspective correction, point, line and polygon smoothing, fog
  std::array<GLenum, 5> hints = {GL_DONT_CARE, GL_DONT_CARE, GL_DONT_CARE, GL_DONT_CARE, GL_DONT_CARE};
  // GL_SCISSOR_BIT, GL_VIEWPORT_BIT
  std::array<GLint, 4> scissor{}, viewport{};
  // GL_TEXTURE_BIT (the bound texture's parameters are saved by the attribute stack)
  GLuint texture = 0;
  GLenum envMode = GL_MODULATE;
  // GL_TRANSFORM_BIT
  GLenum matrixMode = GL_MODELVIEW;

  State();
};

// Copies from `saved` into `state` the groups named in `mask`.
void RestoreGroups(const State& saved, GLbitfield mask, State* state);

struct PixelStore {
  GLint alignment = 4, rowLength = 0, skipRows = 0, skipPixels = 0;
};

struct ClientArray {
  bool enabled = false;
  GLint size = 4;
  GLenum type = GL_FLOAT;
  GLsizei stride = 0;
  const void* pointer = nullptr;
};

// GL_CLIENT_PIXEL_STORE_BIT and GL_CLIENT_VERTEX_ARRAY_BIT.
struct ClientState {
  PixelStore pack, unpack;
  ClientArray vertex, color, texCoord;  // normals come from the current normal
};

}  // namespace webgl
