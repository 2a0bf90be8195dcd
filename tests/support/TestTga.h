// Test support: TGA files built byte by byte, for the font reader and the programme's font
#pragma once

#include <vector>

namespace testsupport {

// The header fields a case may vary; the rest of the 18-byte header is filler the reader skips.
struct TgaFields {
  int idLength = 0;
  int colorMapType = 0;
  int imageType = 2;  // 2: uncompressed true colour, 3: uncompressed grey
  int width = 2;
  int height = 2;
  int bitsPerPixel = 32;
  int descriptor = 0;  // 0x20: rows stored top row first
};

// The header, then `body` as it stands (ID field and pixels, or whatever a case needs).
inline std::vector<unsigned char> MakeTga(const TgaFields& f, const std::vector<unsigned char>& body) {
  // Colour-map and origin fields are skipped by the reader: 0x11 and 0x22 there must not matter.
  // clang-format off
  const int header[18] = {f.idLength, f.colorMapType, f.imageType, 0x11, 0, 0, 0, 0, 0x22, 0, 0, 0,
                          f.width & 0xFF, f.width >> 8, f.height & 0xFF, f.height >> 8, f.bitsPerPixel, f.descriptor};
  // clang-format on
  std::vector<unsigned char> file(header, header + 18);
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

}  // namespace testsupport
