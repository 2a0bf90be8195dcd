// Jpeg: LoadJpeg's file reading and RGBA expansion around the platform's decoder.
#include "image/Jpeg.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "platform/Jpeg.h"

namespace {

constexpr unsigned char kJpegAlpha = 125;

}  // namespace

std::unique_ptr<unsigned char[]> LoadJpeg(const std::string& path, unsigned& width, unsigned& height,
                                          unsigned& bits) {
  width = height = bits = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) return nullptr;
  const std::vector<unsigned char> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return nullptr;
  platform::JpegPicture picture;
  if (!platform::DecodeJpeg(file.data(), file.size(), picture)) return nullptr;
  const size_t pixels = static_cast<size_t>(picture.width) * picture.height;
  auto rgba = std::make_unique_for_overwrite<unsigned char[]>(pixels * 4);
  for (size_t i = 0; i < pixels; ++i) {
    rgba[i * 4 + 0] = picture.rgb[i * 3 + 0];
    rgba[i * 4 + 1] = picture.rgb[i * 3 + 1];
    rgba[i * 4 + 2] = picture.rgb[i * 3 + 2];
    rgba[i * 4 + 3] = kJpegAlpha;
  }
  width = picture.width;
  height = picture.height;
  bits = 32;
  return rgba;
}
