// Jpeg: LoadJpeg, a JPEG file to a caller-owned RGBA buffer for the effect textures.
#pragma once

#include <memory>
#include <string>

// Reads and decodes a JPEG file. The buffer holds width x height pixels, top row
// first, each red, green, blue and alpha 125. The outputs are set to 0 on entry and
// to the width, the height and 32 on success. Null (outputs left 0) on any failure,
// a missing file included; no message is shown.
std::unique_ptr<unsigned char[]> LoadJpeg(const std::string& path, unsigned& width, unsigned& height,
                                          unsigned& bits);
