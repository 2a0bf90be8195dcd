// WebJpeg: LoadJpeg's decoder in the browser build is the browser's own.
#include <cstring>

#include "platform/Jpeg.h"
#include "platform/web/BrowserImage.h"

namespace platform {

bool DecodeJpeg(const unsigned char* data, size_t size, JpegPicture& out) {
  out = {};
  // Browsers decode whatever picture format they are given; only JPEG is wanted here.
  if (data == nullptr || size < 3 || data[0] != 0xFF || data[1] != 0xD8 || data[2] != 0xFF) return false;
  BrowserPicture picture;
  if (!DecodeWithBrowser(data, size, "image/jpeg", picture)) return false;
  const size_t pixels = size_t{picture.width} * picture.height;
  out.rgb.resize(pixels * 3);
  for (size_t i = 0; i < pixels; ++i) std::memcpy(&out.rgb[i * 3], &picture.rgba[i * 4], 3);
  out.width = picture.width;
  out.height = picture.height;
  return true;
}

}  // namespace platform
