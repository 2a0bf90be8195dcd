// Texture: GL texture objects from 24-bit images (repeat wrap, linear filters, no
// mipmaps). Depends on: terrain/Image.h, GL.
#include <GL/gl.h>

#include "terrain/Image.h"

namespace {

// Rows are tight (no 4-byte alignment), so GL must be told how to unpack them.
void UploadRgb(const Image& image) {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glTexImage2D(GL_TEXTURE_2D, 0, 3, static_cast<GLsizei>(image.Width()), static_cast<GLsizei>(image.Height()),
               0, GL_RGB, GL_UNSIGNED_BYTE, image.Pixels());
  glPopClientAttrib();
}

void ReplaceName(unsigned int& name) {
  if (name != 0) glDeleteTextures(1, &name);
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
}

}  // namespace

bool Texture::UploadImage(const Image* image) {
  if (image == nullptr) return false;
  ReplaceName(name);
  if (image->Bits() != 24 || image->Pixels() == nullptr) return false;
  UploadRgb(*image);
  Unbind();
  width = image->Width();
  height = image->Height();
  return true;
}

bool Texture::LoadBitmap(const std::string& path, const ShowMessageBox& show) {
  if (name != 0) {
    glDeleteTextures(1, &name);
    name = 0;
  }
  Image image;
  if (!image.LoadBitmap(path, show)) return false;
  ReplaceName(name);
  if (image.Bits() != 24) return false;
  UploadRgb(image);
  Unbind();
  width = image.Width();
  height = image.Height();
  return true;
}

void Texture::Bind() const { glBindTexture(GL_TEXTURE_2D, name); }

void Texture::Unbind() { glBindTexture(GL_TEXTURE_2D, 0); }
