// FrameImage: PNG through libpng's simplified API, baseline JPEG through libjpeg.
#include "review/FrameImage.h"

#include <jpeglib.h>
#include <png.h>

#include <cstdio>
#include <cstring>

namespace review {

bool ReadPng(const std::string& path, FrameImage& image, std::string* error) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&png, path.c_str()) == 0) {
    *error = "cannot read " + path + ": " + png.message;
    return false;
  }
  png.format = PNG_FORMAT_RGB;
  image = FrameImage(static_cast<int>(png.width), static_cast<int>(png.height));
  if (png_image_finish_read(&png, nullptr, image.rgb.data(), 0, nullptr) == 0) {
    *error = "cannot decode " + path + ": " + png.message;
    png_image_free(&png);
    return false;
  }
  return true;
}

bool WritePng(const std::string& path, const FrameImage& image, std::string* error) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_RGB;
  if (png_image_write_to_file(&png, path.c_str(), 0, image.rgb.data(), 0, nullptr) == 0) {
    *error = "cannot write " + path + ": " + png.message;
    png_image_free(&png);
    return false;
  }
  return true;
}

bool WriteJpeg(const std::string& path, const FrameImage& image, int quality, std::string* error) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    *error = "cannot write " + path;
    return false;
  }
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(image.width);
  info.image_height = static_cast<JDIMENSION>(image.height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<uint8_t*>(image.At(0, static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  const bool closed = std::fclose(file) == 0;
  if (!closed) *error = "cannot finish " + path;
  return closed;
}

}  // namespace review
