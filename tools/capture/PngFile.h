// PngFile: writing one RGB picture as PNG (libpng)
//
// The same pixels always give the same bytes: no time or text chunks are written.
#pragma once

#include <cstdint>
#include <string>

namespace capture {

// `rgb`: width x height RGB pixels, top row first. False with `error` set on failure.
bool WritePng(const std::string& path, int width, int height, const uint8_t* rgb, std::string* error);

// "t019000.png" for 19000 ms.
std::string PngFileName(int64_t timeMs);

}  // namespace capture
