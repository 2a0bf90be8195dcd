// Image: pixel buffer operations and the BMP reader's file handling.
#include "image/Image.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "image/internal/Bitmap.h"

namespace {

// The whole file, or false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

std::string BitmapErrorText(const std::string& path) { return "An error occured while opening " + path; }

Image::Image(const std::string& path, const ShowMessageBox& show) { LoadBitmap(path, show); }

void Image::Create(uint32_t width, uint32_t height, uint32_t bits) {
  size_ = static_cast<size_t>(bits / 8) * width * height;
  pixels_ = std::make_unique_for_overwrite<unsigned char[]>(size_);
  width_ = width;
  height_ = height;
  bits_ = bits;
}

bool Image::LoadBitmap(const std::string& path, const ShowMessageBox& show) {
  Free();
  std::vector<unsigned char> file;
  BitmapPixels decoded;
  if (!ReadWholeFile(path, file) || !DecodeBitmap(file.data(), file.size(), decoded)) {
    ShowBox(show, BitmapErrorText(path), kBitmapErrorCaption, BoxOwner::kNone);
    return false;
  }
  SetPixels(decoded.pixels.data(), decoded.width, decoded.height, decoded.bits);
  return true;
}

bool Image::SetPixels(const unsigned char* source, uint32_t width, uint32_t height, uint32_t bits) {
  Free();
  Create(width, height, bits);
  if (size_ > 0) std::memcpy(pixels_.get(), source, size_);
  return true;
}

bool Image::SwapRedBlue() {
  if (bits_ != 24) return false;
  unsigned char* p = pixels_.get();
  for (size_t i = 0; i + 2 < size_; i += 3) std::swap(p[i], p[i + 2]);
  return true;
}

bool Image::Save(const std::string& /*path*/) const { return true; }

void Image::Free() {
  pixels_.reset();
  size_ = 0;
  bits_ = width_ = height_ = 0;
}
