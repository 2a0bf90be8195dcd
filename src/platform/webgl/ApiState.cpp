// ApiState: the GL entry points for state, lighting, attribute stack, clearing and reading
//
// Capabilities, rasterisation and blending state, lighting, the attribute stack, clearing, reading and
// synchronisation.
#include "platform/webgl/Api.h"

using webgl::Context;

namespace {

void SetCap(GLenum cap, bool on) {
  webgl::Change([&](Context& c) {
    const int i = webgl::FindCap(cap);
    if (i < 0) return c.Error(GL_INVALID_ENUM);
    c.state.enabled[static_cast<size_t>(i)] = on;
  });
}

bool IsFace(GLenum face) { return face == GL_FRONT || face == GL_BACK || face == GL_FRONT_AND_BACK; }

// Mesa's GL takes every factor on both sides; ES 3 has no saturate for the destination.
bool IsBlendFactor(GLenum factor, bool source) {
  switch (factor) {
    case GL_ZERO:
    case GL_ONE:
    case GL_SRC_COLOR:
    case GL_ONE_MINUS_SRC_COLOR:
    case GL_DST_COLOR:
    case GL_ONE_MINUS_DST_COLOR:
    case GL_SRC_ALPHA:
    case GL_ONE_MINUS_SRC_ALPHA:
    case GL_DST_ALPHA:
    case GL_ONE_MINUS_DST_ALPHA:
      return true;
    case GL_SRC_ALPHA_SATURATE:
      return source;
    default:
      return false;
  }
}

void SetRectangle(std::array<GLint, 4> webgl::State::*field, GLint x, GLint y, GLsizei w, GLsizei h) {
  webgl::Change([&](Context& c) {
    if (w < 0 || h < 0) return c.Error(GL_INVALID_VALUE);
    c.state.*field = {x, y, w, h};
  });
}

}  // namespace

void GLAPIENTRY glEnable(GLenum cap) { SetCap(cap, true); }

void GLAPIENTRY glDisable(GLenum cap) { SetCap(cap, false); }

GLboolean GLAPIENTRY glIsEnabled(GLenum cap) {
  GLboolean enabled = GL_FALSE;
  webgl::With([&](Context& c) {
    const int i = webgl::FindCap(cap);
    if (c.InsideBegin()) return c.Error(GL_INVALID_OPERATION);
    if (i < 0) return c.Error(GL_INVALID_ENUM);
    enabled = c.state.enabled[static_cast<size_t>(i)] ? GL_TRUE : GL_FALSE;
  });
  return enabled;
}

void GLAPIENTRY glPolygonMode(GLenum face, GLenum mode) {
  webgl::Change([&](Context& c) {
    if (!IsFace(face) || (mode != GL_POINT && mode != GL_LINE && mode != GL_FILL))
      return c.Error(GL_INVALID_ENUM);
    if (face != GL_BACK) c.state.frontMode = mode;
    if (face != GL_FRONT) c.state.backMode = mode;
  });
}

void GLAPIENTRY glShadeModel(GLenum mode) {
  webgl::Change([&](Context& c) {
    if (mode != GL_FLAT && mode != GL_SMOOTH) return c.Error(GL_INVALID_ENUM);
    c.state.shadeModel = mode;
  });
}

void GLAPIENTRY glFrontFace(GLenum mode) {
  webgl::Change([&](Context& c) {
    if (mode != GL_CW && mode != GL_CCW) return c.Error(GL_INVALID_ENUM);
    c.state.frontFace = mode;
  });
}

void GLAPIENTRY glCullFace(GLenum mode) {
  webgl::Change([&](Context& c) {
    if (!IsFace(mode)) return c.Error(GL_INVALID_ENUM);
    c.state.cullMode = mode;
  });
}

void GLAPIENTRY glBlendFunc(GLenum source, GLenum destination) {
  webgl::Change([&](Context& c) {
    if (!IsBlendFactor(source, true) || !IsBlendFactor(destination, false)) return c.Error(GL_INVALID_ENUM);
    c.state.blendSrc = source;
    c.state.blendDst = destination;
  });
}

void GLAPIENTRY glAlphaFunc(GLenum func, GLclampf ref) {
  webgl::Change([&](Context& c) {
    if (func < GL_NEVER || func > GL_ALWAYS) return c.Error(GL_INVALID_ENUM);
    c.state.alphaFunc = func;
    c.state.alphaRef = ref;
  });
}

void GLAPIENTRY glHint(GLenum target, GLenum mode) {
  webgl::Change([&](Context& c) {
    constexpr GLenum kTargets[] = {GL_PERSPECTIVE_CORRECTION_HINT, GL_POINT_SMOOTH_HINT, GL_LINE_SMOOTH_HINT,
                                   GL_POLYGON_SMOOTH_HINT, GL_FOG_HINT};
    if (mode != GL_DONT_CARE && mode != GL_FASTEST && mode != GL_NICEST) return c.Error(GL_INVALID_ENUM);
    for (size_t i = 0; i < 5; ++i) {
      if (kTargets[i] == target) {
        c.state.hints[i] = mode;
        return;
      }
    }
    c.Error(GL_INVALID_ENUM);
  });
}

void GLAPIENTRY glScissor(GLint x, GLint y, GLsizei width, GLsizei height) {
  SetRectangle(&webgl::State::scissor, x, y, width, height);
}

void GLAPIENTRY glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  SetRectangle(&webgl::State::viewport, x, y, width, height);
}

void GLAPIENTRY glLightfv(GLenum light, GLenum pname, const GLfloat* params) {
  webgl::Change([&](Context& c) {
    if (light != GL_LIGHT0) return c.Error(GL_INVALID_ENUM);
    const webgl::Vec4 v = {params[0], params[1], params[2], params[3]};
    switch (pname) {
      case GL_AMBIENT:
        c.state.lightAmbient = v;
        break;
      case GL_DIFFUSE:
        c.state.lightDiffuse = v;
        break;
      case GL_SPECULAR:
        c.state.lightSpecular = v;
        break;
      case GL_POSITION:  // kept in the eye coordinates of the moment
        c.state.lightPosition = webgl::Transform(c.Matrix(GL_MODELVIEW), v);
        break;
      default:
        c.Error(GL_INVALID_ENUM);
    }
  });
}

void GLAPIENTRY glLightModelfv(GLenum pname, const GLfloat* params) {
  webgl::Change([&](Context& c) {
    if (pname != GL_LIGHT_MODEL_AMBIENT) return c.Error(GL_INVALID_ENUM);
    c.state.modelAmbient = {params[0], params[1], params[2], params[3]};
  });
}

void GLAPIENTRY glPushAttrib(GLbitfield mask) {
  webgl::With([&](Context& c) { c.PushAttrib(mask); });
}

void GLAPIENTRY glPopAttrib() {
  webgl::With([](Context& c) { c.PopAttrib(); });
}

void GLAPIENTRY glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
  webgl::Change([&](Context& c) { c.state.clearColor = webgl::Vec4{r, g, b, a}; });
}

void GLAPIENTRY glClear(GLbitfield mask) {
  webgl::With([&](Context& c) { c.Clear(mask); });
}

void GLAPIENTRY glPixelStorei(GLenum pname, GLint value) {
  webgl::With([&](Context& c) {
    if (c.InsideBegin()) return c.Error(GL_INVALID_OPERATION);
    const bool isPack = pname == GL_PACK_ALIGNMENT || pname == GL_PACK_ROW_LENGTH ||
                        pname == GL_PACK_SKIP_ROWS || pname == GL_PACK_SKIP_PIXELS;
    webgl::PixelStore& store = isPack ? c.client.pack : c.client.unpack;
    switch (pname) {
      case GL_PACK_ALIGNMENT:
      case GL_UNPACK_ALIGNMENT:
        if (value != 1 && value != 2 && value != 4 && value != 8) return c.Error(GL_INVALID_VALUE);
        store.alignment = value;
        return;
      case GL_PACK_ROW_LENGTH:
      case GL_UNPACK_ROW_LENGTH:
        if (value < 0) return c.Error(GL_INVALID_VALUE);
        store.rowLength = value;
        return;
      case GL_PACK_SKIP_ROWS:
      case GL_UNPACK_SKIP_ROWS:
        if (value < 0) return c.Error(GL_INVALID_VALUE);
        store.skipRows = value;
        return;
      case GL_PACK_SKIP_PIXELS:
      case GL_UNPACK_SKIP_PIXELS:
        if (value < 0) return c.Error(GL_INVALID_VALUE);
        store.skipPixels = value;
        return;
      case GL_UNPACK_SWAP_BYTES:  // single bytes have no order to swap
      case GL_UNPACK_LSB_FIRST:
        return;
      default:
        c.Error(GL_INVALID_ENUM);
    }
  });
}

void GLAPIENTRY glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                             GLvoid* pixels) {
  webgl::With([&](Context& c) { c.ReadPixels(x, y, width, height, format, type, pixels); });
}

void GLAPIENTRY glFlush() {
  webgl::With([](Context& c) { c.Submit(false); });
}

void GLAPIENTRY glFinish() {
  webgl::With([](Context& c) { c.Submit(true); });
}

GLenum GLAPIENTRY glGetError() {
  Context* c = webgl::Current();
  return c != nullptr ? c->TakeError() : GL_NO_ERROR;
}
