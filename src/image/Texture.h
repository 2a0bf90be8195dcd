// Texture: GL textures from pixels in memory: the one upload routine, and the named texture of 24-bit images.
#pragma once

#include <cstdint>
#include <string>

#include "image/Image.h"
#include "image/MessageBox.h"

// What each pixel of an upload holds, in byte order.
enum class PixelLayout { kRgb, kRgba, kAlpha };

enum class TextureWrap { kRepeat, kClamp };

// How UploadTexture stores and samples a picture. Every texture of the demo is filtered linearly
// and has no mipmaps; the rest is the caller's.
struct TextureUpload {
  PixelLayout layout = PixelLayout::kRgba;
  // The internal format as a component count (3 for kRgb, 4 for kRgba), as the terrain and the
  // effects ask; false: the layout's own format name, as the font asks. kAlpha is always its name.
  bool formatAsComponentCount = true;
  TextureWrap wrapS = TextureWrap::kRepeat;
  TextureWrap wrapT = TextureWrap::kRepeat;
  // Rows not padded to four bytes: unpacked byte-aligned for this upload, GL's pixel-store
  // state restored after. Otherwise the rows are read as the context is set to read them.
  bool tightRows = false;
};

// Binds `name` to GL_TEXTURE_2D, sets its filters and wraps and uploads width x height pixels
// (null: storage without content) into level 0. The texture stays bound.
void UploadTexture(unsigned int name, const unsigned char* pixels, int width, int height,
                   const TextureUpload& upload);

// A GL texture name with the size of the last image uploaded into it. The GL texture
// is never deleted by the destructor: it goes with the rendering context.
struct Texture {
  unsigned int name = 0;
  uint32_t width = 0;
  uint32_t height = 0;

  // Replaces the GL texture with a new one holding the 24-bit image (red-first bytes).
  // False for a null or non-24-bit image (a new, empty texture is then left bound).
  bool UploadImage(const Image* image);
  // Reads a 24-bit BMP and uploads its bytes as they are (the file's blue byte shows
  // as red). False when the file cannot be read or is not 24-bit.
  bool LoadBitmap(const std::string& path, const ShowMessageBox& show);
  void Bind() const;
  static void Unbind();
};
