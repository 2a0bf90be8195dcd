// BrowserImage: the wait for createImageBitmap, and the pixels copied out of the page.
#include "platform/web/BrowserImage.h"

#include <emscripten.h>

#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

// Returns a malloc'ed RGBA block (null on failure) and its size through the pointers.
EM_ASYNC_JS(unsigned char*, DecodeInPage,
            (const unsigned char* data, size_t size, const char* type, uint32_t* width, uint32_t* height), {
              const bytes = HEAPU8.slice(data, data + size);  // the heap may move while the decoder runs
              const picture = await LandscapePage.decodeImage(bytes, UTF8ToString(type));
              if (!picture) return 0;
              const pixels = _malloc(picture.rgba.length);
              if (!pixels) return 0;
              HEAPU8.set(picture.rgba, pixels);
              HEAPU32[width >> 2] = picture.width;
              HEAPU32[height >> 2] = picture.height;
              return pixels;
            });

}  // namespace

bool DecodeWithBrowser(const unsigned char* data, size_t size, const char* mimeType, BrowserPicture& out) {
  out = {};
  if (data == nullptr || size == 0) return false;
  uint32_t width = 0, height = 0;
  unsigned char* pixels = DecodeInPage(data, size, mimeType, &width, &height);
  if (pixels == nullptr) return false;
  out.width = width;
  out.height = height;
  out.rgba.assign(pixels, pixels + size_t{width} * height * 4);
  std::free(pixels);
  return true;
}

}  // namespace platform
