// BrowserImage: pictures decoded by the browser's own decoders
//
// The pixels are read back through WebGL with no premultiplication and no colour conversion, so they are the
// file's own bytes (a 2D canvas would round translucent colours).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

struct BrowserPicture {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<unsigned char> rgba;  // tight rows, top row first
};

// `mimeType` tells the browser what the bytes are ("image/png", "image/jpeg"). False,
// with `out` empty, when the browser cannot decode them. Waits for the decoder (the
// call yields to the page while it runs).
bool DecodeWithBrowser(const unsigned char* data, size_t size, const char* mimeType, BrowserPicture& out);

}  // namespace platform
