// Image: an owned pixel buffer (tight rows, bottom row first as BMP files store them) and the BMP reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "image/MessageBox.h"

class Image {
 public:
  Image() = default;
  // Reads a BMP file; a failure leaves the image empty (and shows the reader's box).
  Image(const std::string& path, const ShowMessageBox& show);
  // Allocates bits / 8 x width x height bytes of undefined content.
  Image(uint32_t width, uint32_t height, uint32_t bits) { Create(width, height, bits); }
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  void Create(uint32_t width, uint32_t height, uint32_t bits);
  // Reads an uncompressed BMP into tight rows, bottom row first. Every malformed file
  // (truncated, bad sizes, offsets past the end, compression, unsupported depth) is
  // refused with the same box as a file that cannot be opened.
  bool LoadBitmap(const std::string& path, const ShowMessageBox& show);
  // Copies bits / 8 x width x height bytes from source. Always true.
  bool SetPixels(const unsigned char* source, uint32_t width, uint32_t height, uint32_t bits);
  // Exchanges the first and third byte of every pixel; false (unchanged) unless 24-bit.
  bool SwapRedBlue();
  // A debug hook kept from the original tooling: writes nothing, creates no file.
  bool Save(const std::string& path) const;
  void Free();

  const unsigned char* Pixels() const { return pixels_.get(); }
  unsigned char* Pixels() { return pixels_.get(); }
  uint32_t Bits() const { return bits_; }
  uint32_t Width() const { return width_; }
  uint32_t Height() const { return height_; }
  // Bytes held: bits / 8 x width x height, or 0 when empty.
  size_t Size() const { return size_; }

 private:
  std::unique_ptr<unsigned char[]> pixels_;
  size_t size_ = 0;
  uint32_t bits_ = 0;
  uint32_t width_ = 0;
  uint32_t height_ = 0;
};

// The text of the reader's failure box, built for a path of any length.
std::string BitmapErrorText(const std::string& path);
inline constexpr const char* kBitmapErrorCaption = "Error Loading Bitmap";
