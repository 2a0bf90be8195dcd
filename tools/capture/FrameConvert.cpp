// FrameConvert: flip and reorder for pictures, flip and YUV for video, centre for video
#include "capture/FrameConvert.h"

#include <algorithm>
#include <cstring>

namespace capture {
namespace {

// BT.601 limited range in 8-bit fixed point (x 256). The luma weights times 255 add up to
// less than 2^16, so the compiler can keep whole rows in 16-bit vector lanes.
inline uint8_t Luma(unsigned r, unsigned g, unsigned b) {
  return static_cast<uint8_t>(((66 * r + 129 * g + 25 * b + 128) >> 8) + 16);
}

// From the sums of four pixels, hence the 2 more bits of shift.
inline uint8_t ChromaU(int r, int g, int b) {
  return static_cast<uint8_t>(((-38 * r - 74 * g + 112 * b + 512) >> 10) + 128);
}
inline uint8_t ChromaV(int r, int g, int b) {
  return static_cast<uint8_t>(((112 * r - 94 * g - 18 * b + 512) >> 10) + 128);
}

// One pair of output rows from the two source rows that end up as them, upper first.
void RowPairToI420(const uint8_t* upper, const uint8_t* lower, int width, uint8_t* yUpper, uint8_t* yLower,
                   uint8_t* u, uint8_t* v) {
  for (int x = 0; x < width; ++x) {
    yUpper[x] = Luma(upper[4 * x], upper[4 * x + 1], upper[4 * x + 2]);
    yLower[x] = Luma(lower[4 * x], lower[4 * x + 1], lower[4 * x + 2]);
  }
  const int pairs = width / 2;
  for (int x = 0; x < pairs; ++x) {
    const uint8_t* a = upper + 8 * x;
    const uint8_t* b = lower + 8 * x;
    const int r = a[0] + a[4] + b[0] + b[4];
    const int g = a[1] + a[5] + b[1] + b[5];
    const int bl = a[2] + a[6] + b[2] + b[6];
    u[x] = ChromaU(r, g, bl);
    v[x] = ChromaV(r, g, bl);
  }
  if (width % 2 != 0) {  // an odd width's last column pairs with itself
    const uint8_t* a = upper + 8 * pairs;
    const uint8_t* b = lower + 8 * pairs;
    u[pairs] = ChromaU(2 * (a[0] + b[0]), 2 * (a[1] + b[1]), 2 * (a[2] + b[2]));
    v[pairs] = ChromaV(2 * (a[0] + b[0]), 2 * (a[1] + b[1]), 2 * (a[2] + b[2]));
  }
}

}  // namespace

void ToRgb(const uint8_t* rgba, int width, int height, uint8_t* rgb) {
  for (int y = 0; y < height; ++y) {
    const uint8_t* in = rgba + static_cast<size_t>(height - 1 - y) * width * 4;
    uint8_t* out = rgb + static_cast<size_t>(y) * width * 3;
    for (int x = 0; x < width; ++x, in += 4, out += 3) {
      out[0] = in[0];
      out[1] = in[1];
      out[2] = in[2];
    }
  }
}

void ToI420(const uint8_t* rgba, int width, int height, const I420Planes& out) {
  const size_t rowBytes = static_cast<size_t>(width) * 4;
  for (int y = 0; y < height; y += 2) {
    const uint8_t* upper = rgba + static_cast<size_t>(height - 1 - y) * rowBytes;
    const bool single = y + 1 == height;  // an odd height's last row pairs with itself
    const uint8_t* lower = single ? upper : upper - rowBytes;
    uint8_t* yUpper = out.y + static_cast<size_t>(y) * out.yStride;
    uint8_t* yLower = single ? yUpper : yUpper + out.yStride;  // not past the plane
    RowPairToI420(upper, lower, width, yUpper, yLower, out.u + static_cast<size_t>(y / 2) * out.uvStride,
                  out.v + static_cast<size_t>(y / 2) * out.uvStride);
  }
}

void CentreFrame(const uint8_t* rgba, int width, int height, int outWidth, int outHeight, uint8_t* out) {
  std::memset(out, 0, static_cast<size_t>(outWidth) * outHeight * 4);
  const int copyW = std::min(width, outWidth);
  const int copyH = std::min(height, outHeight);
  const int srcX = (width - copyW) / 2;
  const int srcY = (height - copyH) / 2;
  const int dstX = (outWidth - copyW) / 2;
  const int dstY = (outHeight - copyH) / 2;
  for (int y = 0; y < copyH; ++y) {
    std::memcpy(out + (static_cast<size_t>(dstY + y) * outWidth + dstX) * 4,
                rgba + (static_cast<size_t>(srcY + y) * width + srcX) * 4, static_cast<size_t>(copyW) * 4);
  }
}

}  // namespace capture
