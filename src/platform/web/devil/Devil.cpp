// Devil: the DevIL stand-in: image names, loading through the browser, GL set-up and uploads
//
// The DevIL stand-in's image names, loading through the browser, and the GL set-up and uploads as DevIL's GL
// toolkit does them (checked against the native library: selecting GL enables texturing and leaves
// pixel-store and texture state behind; a texture gets repeat wrapping, linear filters, no mipmaps, modulate,
// the picture's own channel count, bottom row first, and stays bound).
#include <GL/gl.h>

#include <fstream>
#include <iterator>
#include <map>
#include <vector>

#include "IL/il.h"
#include "IL/ilut.h"
#include "platform/ilut/IlutGl.h"
#include "platform/web/BrowserImage.h"
#include "platform/web/devil/DevilImage.h"

namespace {

// An image as the library keeps it. A new one is DevIL's empty 1 x 1 grey picture.
struct Picture {
  uint32_t width = 1;
  uint32_t height = 1;
  int channels = 1;
  std::vector<unsigned char> rows = {0};  // bottom row first
};

// DevIL's state is the process's, as the native library's is; image 0 always exists.
struct Library {
  std::map<ILuint, Picture> images = {{0, Picture{}}};
  ILuint bound = 0;
  ILuint next = 1;
};

Library& Images() {
  static Library library;
  return library;
}

Picture& BoundPicture() {
  Library& library = Images();
  return library.images[library.bound];  // a bound name always has its entry
}

bool LoadFile(const char* path, Picture& picture) {
  if (path == nullptr) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::vector<unsigned char> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const devil::ImageLayout layout = devil::ProbeImageLayout(file.data(), file.size());
  if (layout.kind == devil::ImageKind::kUnknown) return false;
  platform::BrowserPicture decoded;
  const char* type = layout.kind == devil::ImageKind::kPng ? "image/png" : "image/jpeg";
  if (!platform::DecodeWithBrowser(file.data(), file.size(), type, decoded)) return false;
  if (decoded.width != layout.width || decoded.height != layout.height) return false;
  std::vector<unsigned char> rows =
      devil::PackBottomUp(decoded.rgba, layout.width, layout.height, layout.channels);
  if (rows.empty()) return false;
  picture = {layout.width, layout.height, layout.channels, std::move(rows)};
  return true;
}

GLuint Upload(const Picture& picture) {
  static const GLenum kFormats[5] = {0, GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGB, GL_RGBA};
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  ilut::SetTextureState();
  glTexImage2D(GL_TEXTURE_2D, 0, picture.channels, static_cast<GLsizei>(picture.width),
               static_cast<GLsizei>(picture.height), 0, kFormats[picture.channels], GL_UNSIGNED_BYTE,
               picture.rows.data());
  return name;
}

}  // namespace

extern "C" {

void ilInit(void) {}

void ilGenImages(ILint count, ILuint* images) {
  if (images == nullptr) return;
  Library& library = Images();
  for (ILint i = 0; i < count; ++i) {
    images[i] = library.next++;
    library.images[images[i]] = Picture{};
  }
}

// Binding a name that was never generated makes it, as DevIL does.
void ilBindImage(ILuint image) {
  Library& library = Images();
  library.images.try_emplace(image);
  library.bound = image;
}

void ilDeleteImages(ILint count, const ILuint* images) {
  if (images == nullptr) return;
  Library& library = Images();
  for (ILint i = 0; i < count; ++i) {
    if (images[i] == 0) continue;
    library.images.erase(images[i]);
    if (library.bound == images[i]) library.bound = 0;
  }
}

ILboolean ilLoadImage(ILconst_string fileName) {
  Picture loaded;
  if (!LoadFile(fileName, loaded)) return IL_FALSE;
  BoundPicture() = std::move(loaded);
  return IL_TRUE;
}

ILboolean ilutRenderer(ILenum renderer) {
  if (renderer != ILUT_OPENGL) return IL_FALSE;
  ilut::SelectGl();
  return IL_TRUE;
}

GLuint ilutGLBindTexImage(void) { return Upload(BoundPicture()); }

GLuint ilutGLLoadImage(ILstring fileName) {
  Picture loaded;
  if (!LoadFile(fileName, loaded)) return 0;
  return Upload(loaded);
}

}  // extern "C"
