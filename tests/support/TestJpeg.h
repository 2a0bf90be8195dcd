// Test support: small baseline JPEG files made by the tests themselves, for the readers and the textures.
#pragma once

#include <filesystem>
#include <functional>
#include <vector>

namespace testsupport {

// Encodes tight rows (3 bytes per pixel, or 1 for grey), top row first, as a baseline
// JPEG of the given quality (1..100). Empty on failure.
std::vector<unsigned char> EncodeJpeg(const unsigned char* pixels, unsigned width, unsigned height, bool grey,
                                      int quality);

// Writes a w x h colour JPEG at quality 100 (folders created as needed), `colour` filling the three bytes
// (red, green, blue) of the pixel at column x, row y (0 = top). False on failure.
bool WriteTestJpeg(const std::filesystem::path& path, unsigned w, unsigned h,
                   const std::function<void(unsigned x, unsigned y, unsigned char* rgb)>& colour);

}  // namespace testsupport
