// Jpeg: JPEG decoding on libjpeg-turbo, the only place that includes libjpeg.
// Depends on: libjpeg (inside the .cpp only).
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

// Encodes tight rows (3 bytes per pixel, or 1 for grey), top row first, as a baseline
// JPEG of the given quality (1..100). Empty on failure. Used to make test pictures.
std::vector<unsigned char> EncodeJpeg(const unsigned char* pixels, unsigned width, unsigned height, bool grey,
                                      int quality);

}  // namespace platform
