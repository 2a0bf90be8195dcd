// ApiDraw: immediate mode, the current vertex values and the client arrays.
#include "platform/webgl/Api.h"

using webgl::Context;

namespace {

void SetColor(float r, float g, float b, float a) {
  webgl::With([&](Context& c) { c.state.color = {r, g, b, a}; });
}

void SetTexCoord(float s, float t) {
  webgl::With([&](Context& c) { c.state.texCoord = {s, t}; });
}

webgl::ClientArray* FindArray(Context& c, GLenum array) {
  switch (array) {
    case GL_VERTEX_ARRAY:
      return &c.client.vertex;
    case GL_COLOR_ARRAY:
      return &c.client.color;
    case GL_TEXTURE_COORD_ARRAY:
      return &c.client.texCoord;
    default:
      return nullptr;
  }
}

void EnableArray(GLenum array, bool on) {
  webgl::With([&](Context& c) {
    webgl::ClientArray* a = FindArray(c, array);
    if (a == nullptr) return c.Error(GL_INVALID_ENUM);
    a->enabled = on;
  });
}

// Sizes and types outside what the layer reads are refused rather than misread.
void SetArray(webgl::ClientArray* (*pick)(Context&), bool sizeOk, bool typeOk, GLint size, GLenum type,
              GLsizei stride, const void* pointer) {
  webgl::With([&](Context& c) {
    if (!typeOk) return c.Error(GL_INVALID_ENUM);
    if (!sizeOk || stride < 0) return c.Error(GL_INVALID_VALUE);
    *pick(c) = {pick(c)->enabled, size, type, stride, pointer};
  });
}

}  // namespace

void GLAPIENTRY glBegin(GLenum mode) {
  webgl::With([&](Context& c) { c.Begin(mode); });
}

void GLAPIENTRY glEnd() {
  webgl::With([](Context& c) { c.End(); });
}

void GLAPIENTRY glVertex2f(GLfloat x, GLfloat y) {
  webgl::With([&](Context& c) { c.AddVertex(x, y, 0.0f); });
}

void GLAPIENTRY glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
  webgl::With([&](Context& c) { c.AddVertex(x, y, z); });
}

void GLAPIENTRY glColor3f(GLfloat r, GLfloat g, GLfloat b) { SetColor(r, g, b, 1.0f); }

void GLAPIENTRY glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) { SetColor(r, g, b, a); }

void GLAPIENTRY glColor4fv(const GLfloat* v) { SetColor(v[0], v[1], v[2], v[3]); }

void GLAPIENTRY glTexCoord2f(GLfloat s, GLfloat t) { SetTexCoord(s, t); }

void GLAPIENTRY glTexCoord2fv(const GLfloat* v) { SetTexCoord(v[0], v[1]); }

void GLAPIENTRY glTexCoord2i(GLint s, GLint t) { SetTexCoord(static_cast<float>(s), static_cast<float>(t)); }

void GLAPIENTRY glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
  webgl::With([&](Context& c) { c.state.normal = {x, y, z}; });
}

void GLAPIENTRY glEnableClientState(GLenum array) { EnableArray(array, true); }

void GLAPIENTRY glDisableClientState(GLenum array) { EnableArray(array, false); }

void GLAPIENTRY glVertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer) {
  SetArray([](Context& c) { return &c.client.vertex; }, size == 2 || size == 3, type == GL_FLOAT, size, type,
           stride, pointer);
}

void GLAPIENTRY glColorPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer) {
  SetArray([](Context& c) { return &c.client.color; }, size == 3 || size == 4,
           type == GL_UNSIGNED_BYTE || type == GL_FLOAT, size, type, stride, pointer);
}

void GLAPIENTRY glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer) {
  SetArray([](Context& c) { return &c.client.texCoord; }, size == 1 || size == 2, type == GL_FLOAT, size,
           type, stride, pointer);
}

void GLAPIENTRY glDrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices) {
  webgl::With([&](Context& c) { c.DrawElements(mode, count, type, indices); });
}

void GLAPIENTRY glPushClientAttrib(GLbitfield mask) {
  webgl::With([&](Context& c) { c.PushClientAttrib(mask); });
}

void GLAPIENTRY glPopClientAttrib() {
  webgl::With([](Context& c) { c.PopClientAttrib(); });
}
