// Jpeg: libjpeg-turbo decoding with an error manager that returns instead of exiting.
// libjpeg reports errors by longjmp; nothing with a destructor lives in the frame
// that calls setjmp, and the output vector belongs to the caller.
// Depends on: libjpeg.
#include "platform/Jpeg.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE declared first
#include <cstdlib>

// clang-format off
#include <jpeglib.h>
// clang-format on

namespace platform {
namespace {

constexpr unsigned long kMaxPixels = 1ul << 26;

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Warnings (corrupt or missing data) end the decode too: a half-grey picture is no picture.
void OnMessage(j_common_ptr info, int level) {
  if (level < 0) OnError(info);
}

void Silence(j_common_ptr) {}

}  // namespace

bool DecodeJpeg(const unsigned char* data, size_t size, JpegPicture& out) {
  out.width = out.height = 0;
  out.rgb.clear();
  if (data == nullptr || size == 0) return false;
  jpeg_decompress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnError;
  errors.base.emit_message = OnMessage;
  errors.base.output_message = Silence;
  if (setjmp(errors.jump) != 0) {
    jpeg_destroy_decompress(&info);
    out.width = out.height = 0;
    out.rgb.clear();
    out.rgb.shrink_to_fit();
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  if (info.jpeg_color_space != JCS_GRAYSCALE && info.jpeg_color_space != JCS_YCbCr &&
      info.jpeg_color_space != JCS_RGB) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  if (static_cast<unsigned long>(info.image_width) * info.image_height > kMaxPixels) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  const size_t row = static_cast<size_t>(info.output_width) * 3;
  out.rgb.resize(row * info.output_height);
  while (info.output_scanline < info.output_height) {
    JSAMPROW rows[1] = {out.rgb.data() + row * info.output_scanline};
    jpeg_read_scanlines(&info, rows, 1);
  }
  jpeg_finish_decompress(&info);
  out.width = info.output_width;
  out.height = info.output_height;
  jpeg_destroy_decompress(&info);
  return true;
}

std::vector<unsigned char> EncodeJpeg(const unsigned char* pixels, unsigned width, unsigned height, bool grey,
                                      int quality) {
  std::vector<unsigned char> result;
  if (pixels == nullptr || width == 0 || height == 0) return result;
  jpeg_compress_struct info;
  ErrorManager errors;
  unsigned char* buffer = nullptr;
  unsigned long bytes = 0;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnError;
  errors.base.output_message = Silence;
  if (setjmp(errors.jump) != 0) {
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return result;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &buffer, &bytes);
  info.image_width = width;
  info.image_height = height;
  info.input_components = grey ? 1 : 3;
  info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  const size_t row = static_cast<size_t>(width) * (grey ? 1 : 3);
  while (info.next_scanline < info.image_height) {
    JSAMPROW rows[1] = {const_cast<unsigned char*>(pixels) + row * info.next_scanline};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  result.assign(buffer, buffer + bytes);
  std::free(buffer);
  return result;
}

}  // namespace platform
