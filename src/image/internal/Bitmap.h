// Bitmap: the BMP decoder behind Image::LoadBitmap, apart so that tests can feed it bytes directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct BitmapPixels {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t bits = 0;
  // Tight rows of width x bits / 8 bytes, bottom row of the picture first.
  std::vector<unsigned char> pixels;
};

// Decodes an uncompressed BMP (BITMAPINFOHEADER or a later, longer header) of 8, 16,
// 24 or 32 bits per pixel. Row padding is dropped, top-down files are turned bottom-up,
// a pixel-block size of 0 is taken from the dimensions. False, with `out` empty, for
// anything else: short headers, compression, other depths, zero or absurd sizes, a
// size field smaller than the rows need, a pixel block that lies past the end.
bool DecodeBitmap(const unsigned char* data, size_t size, BitmapPixels& out);
