// PngFile: the simplified libpng writer
#include "capture/PngFile.h"

#include <png.h>

#include <cstdio>
#include <cstring>

namespace capture {

bool WritePng(const std::string& path, int width, int height, const uint8_t* rgb, std::string* error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  if (png_image_write_to_file(&image, path.c_str(), 0, rgb, 0, nullptr) == 0) {
    *error = "cannot write " + path + ": " + image.message;
    png_image_free(&image);
    return false;
  }
  return true;
}

std::string PngFileName(int64_t timeMs) {
  char name[32];
  std::snprintf(name, sizeof name, "t%06lld.png", static_cast<long long>(timeMs));
  return name;
}

}  // namespace capture
