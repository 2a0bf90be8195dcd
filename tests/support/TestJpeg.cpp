#include "support/TestJpeg.h"

#include <vector>

#include "platform/Jpeg.h"
#include "support/GLTest.h"

namespace testsupport {

bool WriteTestJpeg(const std::filesystem::path& path, unsigned w, unsigned h, const PixelColour& colour) {
  std::vector<unsigned char> rgb(static_cast<size_t>(w) * h * 3);
  for (unsigned y = 0; y < h; ++y) {
    for (unsigned x = 0; x < w; ++x) colour(x, y, &rgb[(static_cast<size_t>(y) * w + x) * 3]);
  }
  const std::vector<unsigned char> file = platform::EncodeJpeg(rgb.data(), w, h, false, 100);
  if (file.empty()) return false;
  WriteFile(path, file);
  return true;
}

}  // namespace testsupport
