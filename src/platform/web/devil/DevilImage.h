// DevilImage: what the DevIL stand-in knows of a picture, and how it hands the pixels to GL
//
// What the DevIL stand-in needs to know about a picture before the browser decodes it (PNG or JPEG, size,
// channel count as DevIL keeps it), and how it hands the decoded pixels to GL the way DevIL's GL upload does:
// the picture's channels only, bottom row first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace devil {

enum class ImageKind { kUnknown, kPng, kJpeg };

struct ImageLayout {
  ImageKind kind = ImageKind::kUnknown;
  uint32_t width = 0;
  uint32_t height = 0;
  int channels = 0;  // 1 grey, 2 grey and alpha, 3 RGB, 4 RGBA
};

// Reads the PNG header or the JPEG frame header. Unknown for anything else, for
// truncated headers, for empty or over-large pictures and for CMYK JPEGs.
ImageLayout ProbeImageLayout(const unsigned char* data, size_t size);

// Turns tight RGBA rows, top row first (as browsers decode), into tight rows of
// `channels` bytes per pixel (grey is taken from red), bottom row first. Empty when
// `rgba` does not hold width x height pixels or `channels` is not 1 to 4.
std::vector<unsigned char> PackBottomUp(const std::vector<unsigned char>& rgba, uint32_t width,
                                        uint32_t height, int channels);

}  // namespace devil
