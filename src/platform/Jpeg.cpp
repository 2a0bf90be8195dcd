// Jpeg: libjpeg-turbo decoding with an error manager that returns instead of exiting
#include "platform/Jpeg.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE declared first

// clang-format off
#include <jpeglib.h>
// clang-format on

// libjpeg reports errors by longjmp; nothing with a destructor lives in the frame that calls setjmp, and
// the output vector belongs to the caller.

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

}  // namespace platform
