// FrameConvert: flip and reorder for pictures, centre for video
#include "capture/FrameConvert.h"

#include <algorithm>
#include <cstring>

namespace capture {

void ToRgb(const uint8_t* bgra, int width, int height, uint8_t* rgb) {
  for (int y = 0; y < height; ++y) {
    const uint8_t* in = bgra + static_cast<size_t>(height - 1 - y) * width * 4;
    uint8_t* out = rgb + static_cast<size_t>(y) * width * 3;
    for (int x = 0; x < width; ++x, in += 4, out += 3) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
    }
  }
}

void CentreFrame(const uint8_t* bgra, int width, int height, int out_width, int out_height, uint8_t* out) {
  std::memset(out, 0, static_cast<size_t>(out_width) * out_height * 4);
  const int copy_w = std::min(width, out_width);
  const int copy_h = std::min(height, out_height);
  const int src_x = (width - copy_w) / 2;
  const int src_y = (height - copy_h) / 2;
  const int dst_x = (out_width - copy_w) / 2;
  const int dst_y = (out_height - copy_h) / 2;
  for (int y = 0; y < copy_h; ++y) {
    std::memcpy(out + (static_cast<size_t>(dst_y + y) * out_width + dst_x) * 4,
                bgra + (static_cast<size_t>(src_y + y) * width + src_x) * 4, static_cast<size_t>(copy_w) * 4);
  }
}

}  // namespace capture
