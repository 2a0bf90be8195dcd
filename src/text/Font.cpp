// Font: glyph table and the TGA font reader (see Font.h)
#include "text/Font.h"

#include <GL/gl.h>

#include <cmath>
#include <cstddef>
#include <new>
#include <utility>

namespace {

// Header bytes 0..2 and 12..17 of a TGA file.
struct TgaHeader {
  unsigned char idLength = 0;      // read, not used: the reader does not skip the ID field
  unsigned char colorMapType = 0;  // must be 0
  unsigned char imageType = 0;     // 2 (true-colour) or 3 (greyscale), both uncompressed
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  unsigned char descriptor = 0;  // read, not used: origin bits are ignored
};

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Bytes that cannot be read stay zero: a short header then fails the checks that follow.
TgaHeader ReadTgaHeader(std::FILE* file) {
  unsigned char head[3] = {0, 0, 0};
  unsigned char sizeFields[6] = {0, 0, 0, 0, 0, 0};
  const size_t headRead = std::fread(head, 1, sizeof head, file);
  (void)headRead;
  if (std::fseek(file, 12, SEEK_SET) == 0) {
    const size_t sizeFieldsRead = std::fread(sizeFields, 1, sizeof sizeFields, file);
    (void)sizeFieldsRead;
  }
  TgaHeader header;
  header.idLength = head[0];
  header.colorMapType = head[1];
  header.imageType = head[2];
  header.width = sizeFields[0] + 256 * sizeFields[1];
  header.height = sizeFields[2] + 256 * sizeFields[3];
  header.bitsPerPixel = sizeFields[4];
  header.descriptor = sizeFields[5];
  return header;
}

// The header rules in the order they are tested; kLoaded when all pass.
TgaResult CheckTgaHeader(const TgaHeader& header) {
  if (header.colorMapType != 0 || (header.imageType != 2 && header.imageType != 3)) {
    return TgaResult::kUnsupportedType;
  }
  if (!IsPowerOfTwo(header.width) || !IsPowerOfTwo(header.height)) return TgaResult::kBadDimensions;
  if (header.bitsPerPixel != 32 && header.bitsPerPixel != 24 && header.bitsPerPixel != 8) {
    return TgaResult::kBadDepth;
  }
  return TgaResult::kLoaded;
}

void UploadFontTexture(unsigned int textureName, const TgaHeader& header, const TgaPixels& pixels) {
  glBindTexture(GL_TEXTURE_2D, textureName);
  // Both settings belong to the context, not the texture, and stay after the font is loaded:
  // byte-aligned unpacking, and every later textured draw modulating by the vertex colour.
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  TextureUpload upload;
  upload.layout = pixels.layout;
  upload.formatAsComponentCount = false;
  // Rows go up in file order: the file's first row becomes t = 0.
  UploadTexture(textureName, pixels.data.get(), header.width, header.height, upload);
}

}  // namespace

bool IsPowerOfTwo(int n) {
  for (int power = 2; power <= 512; power *= 2) {
    if (n == power) return true;
  }
  return false;
}

void Font::BuildGlyphTable() {
  cellWidth = static_cast<float>(std::pow(static_cast<double>(columns), -1.0));
  cellHeight = static_cast<float>(std::pow(static_cast<double>(rows), -1.0));
  glyphs = GlyphTable{};
  // A cell size of zero or less would never leave the loops; no grid then.
  if (!(cellWidth > 0.0f) || !(cellHeight > 0.0f)) return;
  // Cells past the 256th have no byte value, and a grid so fine that the float steps stall
  // must still end: both loops stop once the table is full.
  size_t index = 0;
  size_t rowsSeen = 0;
  for (float v = 1.0f - cellHeight; v >= 0.0f && rowsSeen <= glyphs.size(); v -= cellHeight, ++rowsSeen) {
    if (0.0f > 1.0f - cellWidth) continue;
    float u = 0.0f;
    do {
      if (index >= glyphs.size()) return;
      glyphs[index] = GlyphCoord{u, v};
      ++index;
      u += cellWidth;
    } while (u <= 1.0f - cellWidth);
  }
}

TgaResult Font::Load(const char* fileName) {
  glGenTextures(1, &texture);
  rows = 16;
  columns = 16;
  BuildGlyphTable();
  return LoadTgaTexture(fileName, texture);
}

TgaPixels ReadTgaPixels(std::FILE* file, int pixelCount, int bitsPerPixel) {
  TgaPixels pixels;
  PixelLayout layout = PixelLayout::kRgba;
  size_t bytesPerPixel = 0;
  switch (bitsPerPixel) {
    case 32:
      bytesPerPixel = 4;
      break;
    case 24:
      bytesPerPixel = 3;
      layout = PixelLayout::kRgb;
      break;
    case 8:
      bytesPerPixel = 1;
      layout = PixelLayout::kAlpha;
      break;
    default:
      return pixels;
  }
  if (file == nullptr || pixelCount <= 0) return pixels;
  const size_t byteCount = static_cast<size_t>(pixelCount) * bytesPerPixel;
  std::unique_ptr<unsigned char[]> data(new (std::nothrow) unsigned char[byteCount]);
  if (!data) return pixels;
  if (std::fread(data.get(), 1, byteCount, file) != byteCount) return pixels;
  if (bytesPerPixel >= 3) {
    for (size_t i = 0; i < byteCount; i += bytesPerPixel) std::swap(data[i], data[i + 2]);
  }
  pixels.data = std::move(data);
  pixels.layout = layout;
  return pixels;
}

TgaResult LoadTgaTexture(const char* fileName, unsigned int textureName) {
  if (fileName == nullptr) return TgaResult::kCannotOpen;
  // Read-only: an installed font is usually not writable by the user running the demo.
  FileHandle file(std::fopen(fileName, "rb"));
  if (!file) return TgaResult::kCannotOpen;
  const TgaHeader header = ReadTgaHeader(file.get());
  const TgaResult check = CheckTgaHeader(header);
  if (check != TgaResult::kLoaded) return check;
  // No ID field is skipped: the pixel block starts right after the 18 header bytes.
  const TgaPixels pixels = ReadTgaPixels(file.get(), header.width * header.height, header.bitsPerPixel);
  file.reset();
  if (!pixels.data) return TgaResult::kPixelsUnreadable;
  UploadFontTexture(textureName, header, pixels);
  return TgaResult::kLoaded;
}
