// DevilImage: PNG and JPEG headers, and the upload layout.
#include "platform/web/devil/DevilImage.h"

#include <cstring>

namespace devil {
namespace {

constexpr uint32_t kMaxSide = 16384;

uint32_t Big32(const unsigned char* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}
uint32_t Big16(const unsigned char* p) { return (uint32_t{p[0]} << 8) | uint32_t{p[1]}; }

bool SizeOk(uint32_t width, uint32_t height) {
  return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide;
}

// A paletted PNG keeps an alpha channel when it carries transparency (tRNS).
bool PngHasTransparency(const unsigned char* data, size_t size) {
  size_t at = 8;
  while (at + 8 <= size) {
    const uint32_t length = Big32(data + at);
    if (std::memcmp(data + at + 4, "tRNS", 4) == 0) return true;
    if (std::memcmp(data + at + 4, "IDAT", 4) == 0 || length > size - at - 8) return false;
    at += 12 + size_t{length};  // length, type, data, CRC
  }
  return false;
}

ImageLayout ProbePng(const unsigned char* data, size_t size) {
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  // Signature, then the IHDR chunk: length, type, width, height, depth, colour type.
  if (size < 8 + 8 + 13 || std::memcmp(data, kSignature, 8) != 0 || std::memcmp(data + 12, "IHDR", 4) != 0) {
    return {};
  }
  ImageLayout layout{ImageKind::kPng, Big32(data + 16), Big32(data + 20), 0};
  switch (data[25]) {
    case 0:
      layout.channels = 1;
      break;
    case 2:
      layout.channels = 3;
      break;
    case 3:
      layout.channels = PngHasTransparency(data, size) ? 4 : 3;
      break;
    case 4:
      layout.channels = 2;
      break;
    case 6:
      layout.channels = 4;
      break;
    default:
      return {};
  }
  return SizeOk(layout.width, layout.height) ? layout : ImageLayout{};
}

bool IsFrameMarker(unsigned char marker) {
  // SOF0 to SOF15, without DHT (C4), JPG (C8) and DAC (CC).
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

ImageLayout ProbeJpeg(const unsigned char* data, size_t size) {
  if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) return {};
  size_t at = 2;
  while (at + 4 <= size) {
    if (data[at] != 0xFF) return {};
    const unsigned char marker = data[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    const uint32_t length = Big16(data + at + 2);
    if (length < 2 || length > size - at - 2) return {};
    if (IsFrameMarker(marker)) {
      // Precision, height, width, component count.
      if (length < 8) return {};
      const unsigned char* frame = data + at + 4;
      ImageLayout layout{ImageKind::kJpeg, Big16(frame + 3), Big16(frame + 1), frame[5]};
      if (layout.channels != 1 && layout.channels != 3) return {};
      return SizeOk(layout.width, layout.height) ? layout : ImageLayout{};
    }
    if (marker == 0xDA || marker == 0xD9) return {};  // scan or end before any frame header
    at += 2 + size_t{length};
  }
  return {};
}

}  // namespace

ImageLayout ProbeImageLayout(const unsigned char* data, size_t size) {
  if (data == nullptr) return {};
  const ImageLayout png = ProbePng(data, size);
  return png.kind != ImageKind::kUnknown ? png : ProbeJpeg(data, size);
}

std::vector<unsigned char> PackBottomUp(const std::vector<unsigned char>& rgba, uint32_t width,
                                        uint32_t height, int channels) {
  if (channels < 1 || channels > 4 || rgba.size() != size_t{width} * height * 4) return {};
  // Which RGBA byte each output channel takes: grey is red, its alpha is alpha.
  static const int kSource[5][4] = {{}, {0}, {0, 3}, {0, 1, 2}, {0, 1, 2, 3}};
  std::vector<unsigned char> out(size_t{width} * height * static_cast<size_t>(channels));
  unsigned char* to = out.data();
  for (uint32_t row = height; row-- > 0;) {
    const unsigned char* from = rgba.data() + size_t{row} * width * 4;
    for (uint32_t x = 0; x < width; ++x, from += 4) {
      for (int c = 0; c < channels; ++c) *to++ = from[kSource[channels][c]];
    }
  }
  return out;
}

}  // namespace devil
