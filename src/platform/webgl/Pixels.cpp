// Pixels: GL 1.1's pixel transfer for unsigned bytes
//
// GL 1.1's pixel transfer for unsigned bytes: luminance spreads to red, green and blue, a missing alpha is 1,
// and the internal format keeps only its own components.
#include "platform/webgl/Pixels.h"

#include <cstring>
#include <utility>

namespace webgl {
namespace {

int ComponentCount(GLenum format) {
  switch (format) {
    case GL_ALPHA:
    case GL_LUMINANCE:
      return 1;
    case GL_LUMINANCE_ALPHA:
      return 2;
    case GL_RGB:
      return 3;
    case GL_RGBA:
      return 4;
    default:
      return 0;
  }
}

// Bytes from one row's start to the next: the row length (or width) rounded up to the alignment.
size_t RowStride(GLsizei width, int components, const PixelStore& store) {
  const size_t pixels =
      store.rowLength > 0 ? static_cast<size_t>(store.rowLength) : static_cast<size_t>(width);
  const size_t alignment = static_cast<size_t>(store.alignment);
  return (pixels * static_cast<size_t>(components) + alignment - 1) / alignment * alignment;
}

void ToRgba(GLenum format, const uint8_t* in, uint8_t out[4]) {
  switch (format) {
    case GL_ALPHA:
      out[0] = out[1] = out[2] = 0;
      out[3] = in[0];
      break;
    case GL_LUMINANCE:
      out[0] = out[1] = out[2] = in[0];
      out[3] = 255;
      break;
    case GL_LUMINANCE_ALPHA:
      out[0] = out[1] = out[2] = in[0];
      out[3] = in[1];
      break;
    case GL_RGB:
      std::memcpy(out, in, 3);
      out[3] = 255;
      break;
    default:
      std::memcpy(out, in, 4);
  }
}

}  // namespace

bool FindBaseFormat(GLint internalFormat, BaseFormat* base) {
  switch (internalFormat) {
    case GL_ALPHA:
    case GL_ALPHA8:
      *base = {false, true, false};
      return true;
    case 1:
    case GL_LUMINANCE:
    case GL_LUMINANCE8:
      *base = {true, false, true};
      return true;
    case 2:
    case GL_LUMINANCE_ALPHA:
    case GL_LUMINANCE8_ALPHA8:
      *base = {true, true, true};
      return true;
    case 3:
    case GL_RGB:
    case GL_RGB8:
      *base = {true, false, false};
      return true;
    case 4:
    case GL_RGBA:
    case GL_RGBA8:
      *base = {true, true, false};
      return true;
    default:
      return false;
  }
}

GLenum UnpackTexels(const BaseFormat& base, GLsizei width, GLsizei height, GLenum format, const void* pixels,
                    const PixelStore& unpack, std::vector<uint8_t>* rgba) {
  const int components = ComponentCount(format);
  if (components == 0) return GL_INVALID_ENUM;
  rgba->assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
  if (pixels == nullptr) return GL_NO_ERROR;
  const size_t stride = RowStride(width, components, unpack);
  const auto* first = static_cast<const uint8_t*>(pixels) + static_cast<size_t>(unpack.skipRows) * stride +
                      static_cast<size_t>(unpack.skipPixels) * static_cast<size_t>(components);
  uint8_t* out = rgba->data();
  for (GLsizei y = 0; y < height; ++y) {
    const uint8_t* in = first + static_cast<size_t>(y) * stride;
    for (GLsizei x = 0; x < width; ++x, in += components, out += 4) {
      ToRgba(format, in, out);
      if (base.luminance) out[1] = out[2] = out[0];  // red becomes the luminance
      if (!base.color) out[0] = out[1] = out[2] = 255;
      if (!base.alpha) out[3] = 255;
    }
  }
  return GL_NO_ERROR;
}

GLenum PackPixels(const uint8_t* rgba, GLsizei width, GLsizei height, GLenum format, const PixelStore& pack,
                  void* pixels) {
  const int components = format == GL_RGBA || format == GL_BGRA ? 4 : format == GL_RGB ? 3 : 0;
  if (components == 0) return GL_INVALID_ENUM;
  const size_t stride = RowStride(width, components, pack);
  auto* first = static_cast<uint8_t*>(pixels) + static_cast<size_t>(pack.skipRows) * stride +
                static_cast<size_t>(pack.skipPixels) * static_cast<size_t>(components);
  for (GLsizei y = 0; y < height; ++y) {
    uint8_t* out = first + static_cast<size_t>(y) * stride;
    const uint8_t* in = rgba + static_cast<size_t>(y) * static_cast<size_t>(width) * 4;
    for (GLsizei x = 0; x < width; ++x, in += 4, out += components) {
      std::memcpy(out, in, static_cast<size_t>(components));
      if (format == GL_BGRA) std::swap(out[0], out[2]);
    }
  }
  return GL_NO_ERROR;
}

}  // namespace webgl
