// Pixels: client pixel rectangles in GL's unpack and pack layouts, to and from RGBA bytes
//
// Client pixel rectangles in GL's unpack and pack layouts (alignment, row length, skips), converted to and
// from the RGBA bytes the layer keeps.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <vector>

#include "platform/webgl/State.h"

namespace webgl {

// Which components a texture's base format has; the others read as GL's fixed values.
struct BaseFormat {
  bool color = true;
  bool alpha = true;
  bool luminance = false;  // one colour value, read as red, green and blue alike
};

// The base format of a glTexImage2D internal format; false for one the layer does not know.
bool FindBaseFormat(GLint internalFormat, BaseFormat* base);

// Reads width x height pixels of `format` (GL_ALPHA, GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGB
// or GL_RGBA, unsigned bytes) laid out as `unpack` says, into tightly packed RGBA bytes as the
// base format keeps them: absent colour reads 1 (so that modulating by it changes nothing),
// absent alpha reads 1. Null pixels give zeros. GL_NO_ERROR, or the error GL would raise.
GLenum UnpackTexels(const BaseFormat& base, GLsizei width, GLsizei height, GLenum format, const void* pixels,
                    const PixelStore& unpack, std::vector<uint8_t>* rgba);

// Writes tightly packed RGBA rows into `pixels` as GL_RGBA, GL_BGRA or GL_RGB laid out as `pack`
// says.
GLenum PackPixels(const uint8_t* rgba, GLsizei width, GLsizei height, GLenum format, const PixelStore& pack,
                  void* pixels);

}  // namespace webgl
