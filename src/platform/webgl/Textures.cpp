// Textures: GL 1.1 texture objects over ES textures
//
// Names are the layer's own; the ES texture behind one is made with its first image. GL_CLAMP samples as
// GL_CLAMP_TO_EDGE in ES, and the shader fades towards GL's border.
#include <vector>

#include "platform/webgl/Context.h"

namespace webgl {
namespace {

bool IsFilter(GLenum value, bool minifying) {
  switch (value) {
    case GL_NEAREST:
    case GL_LINEAR:
      return true;
    case GL_NEAREST_MIPMAP_NEAREST:
    case GL_LINEAR_MIPMAP_NEAREST:
    case GL_NEAREST_MIPMAP_LINEAR:
    case GL_LINEAR_MIPMAP_LINEAR:
      return minifying;
    default:
      return false;
  }
}

bool IsWrap(GLenum value) { return value == GL_REPEAT || value == GL_CLAMP || value == GL_CLAMP_TO_EDGE; }

GLenum EsFilter(GLenum filter) {
  // A mipmapping filter leaves the texture incomplete: the shader never samples it.
  return filter == GL_NEAREST || filter == GL_NEAREST_MIPMAP_NEAREST || filter == GL_NEAREST_MIPMAP_LINEAR
             ? GL_NEAREST
             : GL_LINEAR;
}

GLenum EsWrap(GLenum wrap) { return wrap == GL_REPEAT ? GL_REPEAT : GL_CLAMP_TO_EDGE; }

}  // namespace

TextureObject& Context::Texture(GLuint name) { return textures_[name]; }

void Context::UpdateSampling(TextureObject* texture) {
  if (texture->es == 0) return;
  const TextureParams& p = texture->params;
  renderer_->SetSampling(texture->es,
                         {EsFilter(p.minFilter), EsFilter(p.magFilter), EsWrap(p.wrapS), EsWrap(p.wrapT)});
}

void Context::GenTextures(GLsizei n, GLuint* names) {
  if (InsideBegin()) return Error(GL_INVALID_OPERATION);
  if (n < 0) return Error(GL_INVALID_VALUE);
  for (GLsizei i = 0; i < n; ++i) {
    while (textures_.count(nextTexture_) != 0 || nextTexture_ == 0) ++nextTexture_;
    names[i] = nextTexture_;
    textures_[nextTexture_] = TextureObject{};
  }
}

void Context::BindTexture(GLuint name) {
  if (!BeginChange()) return;
  Texture(name);  // binding an unused name makes the object
  state.texture = name;
}

void Context::DeleteTextures(GLsizei n, const GLuint* names) {
  if (!BeginChange()) return;
  if (n < 0) return Error(GL_INVALID_VALUE);
  for (GLsizei i = 0; i < n; ++i) {
    const auto it = textures_.find(names[i]);
    if (names[i] == 0 || it == textures_.end()) continue;
    if (it->second.es != 0) renderer_->DeleteTexture(it->second.es);
    textures_.erase(it);
    if (state.texture == names[i]) state.texture = 0;
  }
}

void Context::TexImage2D(GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                         GLenum format, GLenum type, const void* pixels) {
  if (!BeginChange()) return;
  BaseFormat base;
  if (type != GL_UNSIGNED_BYTE) return Error(GL_INVALID_ENUM);
  // Only level 0: the layer keeps no mipmaps (nothing in the demo makes them).
  if (level != 0 || border != 0 || width < 0 || height < 0 || width > maxTextureSize_ ||
      height > maxTextureSize_ || !FindBaseFormat(internalFormat, &base)) {
    return Error(GL_INVALID_VALUE);
  }
  std::vector<uint8_t> rgba;
  const GLenum error = UnpackTexels(base, width, height, format, pixels, client.unpack, &rgba);
  if (error != GL_NO_ERROR) return Error(error);
  TextureObject& texture = Texture(state.texture);
  if (texture.es == 0) {
    texture.es = renderer_->CreateTexture();
    UpdateSampling(&texture);
  }
  texture.width = width;
  texture.height = height;
  texture.base = base;
  if (width > 0 && height > 0) renderer_->UploadTexture(texture.es, width, height, rgba.data());
}

void Context::TexParameter(GLenum pname, GLint value) {
  if (!BeginChange()) return;
  const auto v = static_cast<GLenum>(value);
  TextureObject& texture = Texture(state.texture);
  TextureParams& p = texture.params;
  switch (pname) {
    case GL_TEXTURE_MIN_FILTER:
    case GL_TEXTURE_MAG_FILTER:
      if (!IsFilter(v, pname == GL_TEXTURE_MIN_FILTER)) return Error(GL_INVALID_ENUM);
      (pname == GL_TEXTURE_MIN_FILTER ? p.minFilter : p.magFilter) = v;
      break;
    case GL_TEXTURE_WRAP_S:
    case GL_TEXTURE_WRAP_T:
      if (!IsWrap(v)) return Error(GL_INVALID_ENUM);
      (pname == GL_TEXTURE_WRAP_S ? p.wrapS : p.wrapT) = v;
      break;
    default:
      return Error(GL_INVALID_ENUM);
  }
  UpdateSampling(&texture);
}

}  // namespace webgl
