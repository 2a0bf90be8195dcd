// Bitmap: BMP decoding with every header field checked against the bytes present.
#include "image/internal/Bitmap.h"

#include <algorithm>

namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr size_t kInfoHeaderBytes = 40;
// Larger pictures are no use to the demo; the cap keeps every size sum far from overflow.
constexpr int64_t kMaxDimension = 1 << 16;

uint32_t ReadU32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

uint16_t ReadU16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

bool Fail(BitmapPixels& out) {
  out = BitmapPixels{};
  return false;
}

}  // namespace

bool DecodeBitmap(const unsigned char* data, size_t size, BitmapPixels& out) {
  out = BitmapPixels{};
  if (data == nullptr || size < kFileHeaderBytes + kInfoHeaderBytes) return Fail(out);
  const unsigned char* info = data + kFileHeaderBytes;
  const uint64_t offset = ReadU32(data + 10);
  const uint64_t infoBytes = ReadU32(info);
  const int64_t width = static_cast<int32_t>(ReadU32(info + 4));
  const int64_t signedHeight = static_cast<int32_t>(ReadU32(info + 8));
  const uint32_t bits = ReadU16(info + 14);
  const uint32_t compression = ReadU32(info + 16);
  const uint64_t sizeField = ReadU32(info + 20);

  if (infoBytes < kInfoHeaderBytes || compression != 0) return Fail(out);
  if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return Fail(out);
  const bool topDown = signedHeight < 0;
  const int64_t height = topDown ? -signedHeight : signedHeight;
  if (width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension) return Fail(out);

  const uint64_t tightRow = static_cast<uint64_t>(width) * (bits / 8);
  const uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
  // The last row's padding is not needed to read the picture, so a file without it is fine.
  const uint64_t needed = stride * static_cast<uint64_t>(height - 1) + tightRow;
  const uint64_t block = sizeField == 0 ? needed : sizeField;
  if (block < needed) return Fail(out);
  if (offset < kFileHeaderBytes + infoBytes || offset > size || size - offset < needed) return Fail(out);

  out.width = static_cast<uint32_t>(width);
  out.height = static_cast<uint32_t>(height);
  out.bits = bits;
  out.pixels.resize(tightRow * static_cast<uint64_t>(height));
  for (int64_t row = 0; row < height; ++row) {
    const int64_t fileRow = topDown ? height - 1 - row : row;
    const unsigned char* src = data + offset + static_cast<uint64_t>(fileRow) * stride;
    std::copy(src, src + tightRow, out.pixels.begin() + static_cast<int64_t>(tightRow) * row);
  }
  return true;
}
