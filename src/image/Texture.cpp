// Texture: the upload routine every picture goes through, and Texture's replace-and-upload steps.
#include "image/Texture.h"

#include <GL/gl.h>

namespace {

GLint WrapMode(TextureWrap wrap) { return wrap == TextureWrap::kClamp ? GL_CLAMP : GL_REPEAT; }

GLenum FormatName(PixelLayout layout) {
  switch (layout) {
    case PixelLayout::kRgb:
      return GL_RGB;
    case PixelLayout::kAlpha:
      return GL_ALPHA;
    case PixelLayout::kRgba:
      break;
  }
  return GL_RGBA;
}

GLint InternalFormat(const TextureUpload& upload) {
  if (!upload.formatAsComponentCount || upload.layout == PixelLayout::kAlpha) {
    return static_cast<GLint>(FormatName(upload.layout));
  }
  return upload.layout == PixelLayout::kRgb ? 3 : 4;
}

void ReplaceName(unsigned int& name) {
  if (name != 0) glDeleteTextures(1, &name);
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
}

constexpr TextureUpload kRgbImage{PixelLayout::kRgb, true, TextureWrap::kRepeat, TextureWrap::kRepeat, true};

}  // namespace

void UploadTexture(unsigned int name, const unsigned char* pixels, int width, int height,
                   const TextureUpload& upload) {
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, WrapMode(upload.wrapS));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, WrapMode(upload.wrapT));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  if (upload.tightRows) {
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  }
  const GLenum format = FormatName(upload.layout);
  glTexImage2D(GL_TEXTURE_2D, 0, InternalFormat(upload), width, height, 0, format, GL_UNSIGNED_BYTE, pixels);
  if (upload.tightRows) glPopClientAttrib();
}

bool Texture::UploadImage(const Image* image) {
  if (image == nullptr) return false;
  ReplaceName(name);
  if (image->Bits() != 24 || image->Pixels() == nullptr) return false;
  UploadTexture(name, image->Pixels(), static_cast<int>(image->Width()), static_cast<int>(image->Height()),
                kRgbImage);
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
  UploadTexture(name, image.Pixels(), static_cast<int>(image.Width()), static_cast<int>(image.Height()),
                kRgbImage);
  Unbind();
  width = image.Width();
  height = image.Height();
  return true;
}

void Texture::Bind() const { glBindTexture(GL_TEXTURE_2D, name); }

void Texture::Unbind() { glBindTexture(GL_TEXTURE_2D, 0); }
