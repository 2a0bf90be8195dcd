// Test support: small baseline JPEG files made by the tests themselves (through the
// platform encoder), for the readers and the textures that load them.
#pragma once

#include <filesystem>
#include <functional>

namespace testsupport {

// Fills the three bytes (red, green, blue) of the pixel at column x, row y (0 = top).
using PixelColour = std::function<void(unsigned x, unsigned y, unsigned char* rgb)>;

// Writes a w x h colour JPEG at quality 100 (folders created as needed). False on failure.
bool WriteTestJpeg(const std::filesystem::path& path, unsigned w, unsigned h, const PixelColour& colour);

}  // namespace testsupport
