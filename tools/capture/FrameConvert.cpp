// FrameConvert: flip, drop alpha, centre.
// Depends on: nothing.
#include "capture/FrameConvert.h"

#include <algorithm>
#include <cstring>

namespace capture {

void ConvertFrame(const uint8_t* bgra, int width, int height, int out_width, int out_height, uint8_t* rgb) {
  const size_t out_row = static_cast<size_t>(out_width) * 3;
  if (width != out_width || height != out_height) std::memset(rgb, 0, out_row * out_height);
  // Offsets of the overlap in source and destination, both counted from the top.
  const int copy_w = std::min(width, out_width);
  const int copy_h = std::min(height, out_height);
  const int src_x = (width - copy_w) / 2;
  const int src_y = (height - copy_h) / 2;
  const int dst_x = (out_width - copy_w) / 2;
  const int dst_y = (out_height - copy_h) / 2;
  for (int y = 0; y < copy_h; ++y) {
    const int src_row = height - 1 - (src_y + y);  // bottom-up source
    const uint8_t* in = bgra + (static_cast<size_t>(src_row) * width + src_x) * 4;
    uint8_t* out = rgb + static_cast<size_t>(dst_y + y) * out_row + static_cast<size_t>(dst_x) * 3;
    for (int x = 0; x < copy_w; ++x, in += 4, out += 3) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
    }
  }
}

}  // namespace capture
