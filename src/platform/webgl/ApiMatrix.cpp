// ApiMatrix: the matrix stacks, and GLU's two matrix builders the demo uses.
#include <GL/glu.h>

#include "platform/webgl/Api.h"

using webgl::Context;

namespace {

void Multiply(const webgl::Mat4& m) {
  webgl::With([&](Context& c) { c.MultiplyMatrix(m); });
}

}  // namespace

void GLAPIENTRY glMatrixMode(GLenum mode) {
  webgl::Change([&](Context& c) {
    if (mode != GL_MODELVIEW && mode != GL_PROJECTION && mode != GL_TEXTURE) return c.Error(GL_INVALID_ENUM);
    c.state.matrixMode = mode;
  });
}

void GLAPIENTRY glLoadIdentity() {
  webgl::Change([](Context& c) { c.Matrix() = webgl::Identity(); });
}

void GLAPIENTRY glPushMatrix() {
  webgl::With([](Context& c) { c.PushMatrix(); });
}

void GLAPIENTRY glPopMatrix() {
  webgl::With([](Context& c) { c.PopMatrix(); });
}

void GLAPIENTRY glTranslatef(GLfloat x, GLfloat y, GLfloat z) { Multiply(webgl::Translation(x, y, z)); }

void GLAPIENTRY glScalef(GLfloat x, GLfloat y, GLfloat z) { Multiply(webgl::Scaling(x, y, z)); }

void GLAPIENTRY glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
  Multiply(webgl::Rotation(angle, x, y, z));
}

void GLAPIENTRY glMultMatrixf(const GLfloat* m) {
  webgl::Mat4 matrix;
  for (int i = 0; i < 16; ++i) matrix[i] = m[i];
  Multiply(matrix);
}

void GLAPIENTRY glMultMatrixd(const GLdouble* m) {
  webgl::Mat4 matrix;
  for (int i = 0; i < 16; ++i) matrix[i] = static_cast<float>(m[i]);
  Multiply(matrix);
}

void GLAPIENTRY glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble nearZ,
                        GLdouble farZ) {
  webgl::With([&](Context& c) {
    if (left == right || bottom == top || nearZ == farZ) return c.Error(GL_INVALID_VALUE);
    c.MultiplyMatrix(webgl::Orthographic(left, right, bottom, top, nearZ, farZ));
  });
}

void GLAPIENTRY gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
  webgl::Mat4 m;
  if (webgl::Perspective(fovy, aspect, zNear, zFar, &m)) Multiply(m);
}

void GLAPIENTRY gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY,
                          GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ) {
  Multiply(webgl::LookAt({eyeX, eyeY, eyeZ, centerX, centerY, centerZ, upX, upY, upZ}));
}
