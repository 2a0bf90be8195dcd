// Jpeg: the engine's JPEG decoder, on libjpeg-turbo (included by the .cpp only).
#pragma once

#include <cstddef>
#include <vector>

namespace platform {

struct JpegPicture {
  unsigned width = 0;
  unsigned height = 0;
  // Tight rows of red, green, blue bytes, top row of the picture first.
  std::vector<unsigned char> rgb;
};

// Decodes a whole JPEG file held in memory. Greyscale pictures come out with equal
// red, green and blue. False, with `out` empty, for anything libjpeg cannot decode
// completely and cleanly: not a JPEG, truncated or corrupt data (libjpeg's warnings
// count as failures), CMYK or other colour spaces, pictures above 64 M pixels.
bool DecodeJpeg(const unsigned char* data, size_t size, JpegPicture& out);

}  // namespace platform
