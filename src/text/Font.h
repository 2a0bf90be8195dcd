// Font: the bitmap font of the text printer
#pragma once

#include <array>
#include <cstdio>
#include <memory>

#include "image/Texture.h"

// A TGA picture holding a 16 x 16 grid of glyph cells (one per byte value) becomes one GL texture, and a
// table gives each byte value the lower-left texture coordinate of its cell. The TGA reader here is the
// system's own and reads only uncompressed true-colour and greyscale files.

// Lower-left texture coordinate of one glyph cell.
struct GlyphCoord {
  float u = 0.0f;
  float v = 0.0f;
};

using GlyphTable = std::array<GlyphCoord, 256>;

// Results of LoadTgaTexture (and Font::Load, which passes them on), with the numbers the font
// loader has always reported: 1, or a negative code per failure.
enum class TgaResult : int {
  kLoaded = 1,
  kCannotOpen = -13,
  kUnsupportedType = -14,  // colour-mapped or run-length-encoded, or not an image type we read
  kBadDimensions = -15,    // width or height not a power of two from 2 to 512
  kBadDepth = -16,         // bits per pixel not 32, 24 or 8
  kPixelsUnreadable = -17  // pixel block not allocated or cut short
};

struct Font {
  unsigned int texture = 0;  // GL texture name; exists (maybe empty) once Load has run
  int rows = 16;
  int columns = 16;
  float cellWidth = 0.0625f;   // texture units
  float cellHeight = 0.0625f;  // texture units
  GlyphTable glyphs{};         // indexed by the byte value of the character

  // Generates the texture name, builds the glyph table (whatever the file holds) and loads
  // the file into the texture. Returns LoadTgaTexture's result unchanged.
  TgaResult Load(const char* fileName);

  // Cell c lies in column c mod columns and row c div columns, rows counted from the top of
  // the upright picture (the top row is at t = 1 - cellHeight).
  void BuildGlyphTable();
};

// Pixels read by ReadTgaPixels, with what each pixel holds.
struct TgaPixels {
  std::unique_ptr<unsigned char[]> data;    // null when reading failed
  PixelLayout layout = PixelLayout::kRgba;  // kRgba, kRgb or kAlpha for 32, 24 or 8 bits
};

// Reads the file (opened read-only) and uploads it into textureName. The file is closed on
// every path. A header cut short reads as zero bytes, so it fails the type or size checks.
TgaResult LoadTgaTexture(const char* fileName, unsigned int textureName);

// Reads pixelCount pixels of bitsPerPixel (32, 24 or 8) from the file's current position.
// 32- and 24-bit pixels come back red first (the file holds them blue first).
TgaPixels ReadTgaPixels(std::FILE* file, int pixelCount, int bitsPerPixel);

// True for 2, 4, 8, ..., 512 only.
bool IsPowerOfTwo(int n);
