// Test support: the libjpeg-turbo encoder behind the tests' JPEG files.
#include "support/TestJpeg.h"

#include <cstdio>  // jpeglib.h needs FILE declared first
#include <cstdlib>

// clang-format off
#include <jpeglib.h>
// clang-format on

#include "support/Scratch.h"

namespace testsupport {

// The tests hand in their own well-formed pixels, so libjpeg's default error exit (which ends the
// process) is never reached in practice; only empty input is refused here.
std::vector<unsigned char> EncodeJpeg(const unsigned char* pixels, unsigned width, unsigned height, bool grey,
                                      int quality) {
  if (pixels == nullptr || width == 0 || height == 0) return {};
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long bytes = 0;
  jpeg_mem_dest(&info, &buffer, &bytes);
  info.image_width = width;
  info.image_height = height;
  info.input_components = grey ? 1 : 3;
  info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  const size_t stride = static_cast<size_t>(width) * (grey ? 1 : 3);
  for (JSAMPROW row = const_cast<unsigned char*>(pixels); info.next_scanline < height; row += stride)
    jpeg_write_scanlines(&info, &row, 1);
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<unsigned char> result(buffer, buffer + bytes);
  std::free(buffer);
  return result;
}

bool WriteTestJpeg(const std::filesystem::path& path, unsigned w, unsigned h,
                   const std::function<void(unsigned x, unsigned y, unsigned char* rgb)>& colour) {
  std::vector<unsigned char> rgb(static_cast<size_t>(w) * h * 3);
  for (unsigned y = 0; y < h; ++y) {
    for (unsigned x = 0; x < w; ++x) colour(x, y, &rgb[(static_cast<size_t>(y) * w + x) * 3]);
  }
  const std::vector<unsigned char> file = EncodeJpeg(rgb.data(), w, h, false, 100);
  if (!file.empty()) WriteFile(path, file);
  return !file.empty();
}

}  // namespace testsupport
