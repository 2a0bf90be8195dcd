// Query: glGetIntegerv and glGetFloatv for the state the subset keeps
//
// GlGetIntegerv and glGetFloatv for the state the subset keeps: the viewport, scissor box, polygon modes,
// matrix mode, blend factors, matrices, texture binding, shading and face modes, alpha test, colours, pixel
// alignments, stack depths, the maximum texture size, and every capability glEnable knows.
#include <cmath>

#include "platform/webgl/Api.h"

using webgl::Context;

namespace {

struct Values {
  double v[16] = {};
  int count = 0;
  bool color = false;  // colours convert to integers over the whole range, as GL does
};

template <class T>
void Fill(Values* out, const T& values, int count) {
  out->count = count;
  for (int i = 0; i < count; ++i) out->v[i] = static_cast<double>(values[static_cast<size_t>(i)]);
}

void One(Values* out, double value) {
  out->count = 1;
  out->v[0] = value;
}

bool Lookup(const Context& c, GLenum pname, Values* out) {
  const webgl::State& s = c.state;
  const int cap = webgl::FindCap(pname);
  if (cap >= 0) {
    One(out, s.enabled[static_cast<size_t>(cap)] ? 1 : 0);
    return true;
  }
  switch (pname) {
    case GL_VIEWPORT:
      Fill(out, s.viewport, 4);
      break;
    case GL_SCISSOR_BOX:
      Fill(out, s.scissor, 4);
      break;
    case GL_POLYGON_MODE:
      Fill(out, std::array<GLenum, 2>{s.frontMode, s.backMode}, 2);
      break;
    case GL_MATRIX_MODE:
      One(out, s.matrixMode);
      break;
    case GL_BLEND_SRC:
      One(out, s.blendSrc);
      break;
    case GL_BLEND_DST:
      One(out, s.blendDst);
      break;
    case GL_MODELVIEW_MATRIX:
      Fill(out, c.Matrix(GL_MODELVIEW), 16);
      break;
    case GL_PROJECTION_MATRIX:
      Fill(out, c.Matrix(GL_PROJECTION), 16);
      break;
    case GL_TEXTURE_MATRIX:
      Fill(out, c.Matrix(GL_TEXTURE), 16);
      break;
    case GL_MODELVIEW_STACK_DEPTH:
      One(out, static_cast<double>(c.StackDepth(GL_MODELVIEW)));
      break;
    case GL_PROJECTION_STACK_DEPTH:
      One(out, static_cast<double>(c.StackDepth(GL_PROJECTION)));
      break;
    case GL_TEXTURE_STACK_DEPTH:
      One(out, static_cast<double>(c.StackDepth(GL_TEXTURE)));
      break;
    case GL_ATTRIB_STACK_DEPTH:
      One(out, static_cast<double>(c.AttribStackDepth()));
      break;
    case GL_TEXTURE_BINDING_2D:
      One(out, s.texture);
      break;
    case GL_SHADE_MODEL:
      One(out, s.shadeModel);
      break;
    case GL_CULL_FACE_MODE:
      One(out, s.cullMode);
      break;
    case GL_FRONT_FACE:
      One(out, s.frontFace);
      break;
    case GL_ALPHA_TEST_FUNC:
      One(out, s.alphaFunc);
      break;
    case GL_ALPHA_TEST_REF:
      One(out, s.alphaRef);
      out->color = true;
      break;
    case GL_COLOR_CLEAR_VALUE:
      Fill(out, s.clearColor, 4);
      out->color = true;
      break;
    case GL_CURRENT_COLOR:
      Fill(out, s.color, 4);
      out->color = true;
      break;
    case GL_UNPACK_ALIGNMENT:
      One(out, c.client.unpack.alignment);
      break;
    case GL_PACK_ALIGNMENT:
      One(out, c.client.pack.alignment);
      break;
    case GL_MAX_TEXTURE_SIZE:
      One(out, c.MaxTextureSize());
      break;
    default:
      return false;
  }
  return true;
}

template <class T, class Convert>
void Get(GLenum pname, T* params, const Convert& convert) {
  webgl::With([&](Context& c) {
    if (c.InsideBegin()) return c.Error(GL_INVALID_OPERATION);
    Values values;
    if (!Lookup(c, pname, &values)) return c.Error(GL_INVALID_ENUM);
    for (int i = 0; i < values.count; ++i) params[i] = convert(values.v[i], values.color);
  });
}

}  // namespace

void GLAPIENTRY glGetIntegerv(GLenum pname, GLint* params) {
  Get(pname, params, [](double v, bool color) {
    return static_cast<GLint>(color ? std::lround(v * 2147483647.0) : std::lround(v));
  });
}

void GLAPIENTRY glGetFloatv(GLenum pname, GLfloat* params) {
  Get(pname, params, [](double v, bool) { return static_cast<GLfloat>(v); });
}
