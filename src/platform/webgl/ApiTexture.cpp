// ApiTexture: texture objects, images, parameters and the texture environment.
#include <cmath>

#include "platform/webgl/Api.h"

using webgl::Context;

namespace {

void SetParameter(GLenum target, GLenum pname, GLint value) {
  webgl::With([&](Context& c) {
    if (target != GL_TEXTURE_2D) return c.Error(GL_INVALID_ENUM);
    c.TexParameter(pname, value);
  });
}

void SetEnvironment(GLenum target, GLenum pname, GLenum mode) {
  webgl::Change([&](Context& c) {
    if (target != GL_TEXTURE_ENV || pname != GL_TEXTURE_ENV_MODE) return c.Error(GL_INVALID_ENUM);
    if (mode != GL_MODULATE && mode != GL_REPLACE) return c.Error(GL_INVALID_ENUM);
    c.state.envMode = mode;
  });
}

}  // namespace

void GLAPIENTRY glGenTextures(GLsizei n, GLuint* textures) {
  webgl::With([&](Context& c) { c.GenTextures(n, textures); });
}

void GLAPIENTRY glBindTexture(GLenum target, GLuint texture) {
  webgl::With([&](Context& c) {
    if (target != GL_TEXTURE_2D) return c.Error(GL_INVALID_ENUM);
    c.BindTexture(texture);
  });
}

void GLAPIENTRY glDeleteTextures(GLsizei n, const GLuint* textures) {
  webgl::With([&](Context& c) { c.DeleteTextures(n, textures); });
}

void GLAPIENTRY glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                             GLint border, GLenum format, GLenum type, const GLvoid* pixels) {
  webgl::With([&](Context& c) {
    if (target != GL_TEXTURE_2D) return c.Error(GL_INVALID_ENUM);
    c.TexImage2D(level, internalFormat, width, height, border, format, type, pixels);
  });
}

void GLAPIENTRY glTexParameteri(GLenum target, GLenum pname, GLint param) {
  SetParameter(target, pname, param);
}

void GLAPIENTRY glTexParameterf(GLenum target, GLenum pname, GLfloat param) {
  SetParameter(target, pname, static_cast<GLint>(std::lround(param)));
}

void GLAPIENTRY glTexEnvi(GLenum target, GLenum pname, GLint param) {
  SetEnvironment(target, pname, static_cast<GLenum>(param));
}

void GLAPIENTRY glTexEnvf(GLenum target, GLenum pname, GLfloat param) {
  SetEnvironment(target, pname, static_cast<GLenum>(std::lround(param)));
}
