// FrameImage: an RGB picture in memory, read from and written to PNG and JPEG files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace review {

// 8-bit RGB, top row first.
struct FrameImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;

  FrameImage() = default;
  FrameImage(int w, int h) : width(w), height(h), rgb(size_t(w) * h * 3, 0) {}
  uint8_t* At(int x, int y) { return &rgb[(size_t(y) * width + x) * 3]; }
  const uint8_t* At(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
};

// Each returns false with `error` set when the file cannot be read or written.
bool ReadPng(const std::string& path, FrameImage& image, std::string* error);
bool WritePng(const std::string& path, const FrameImage& image, std::string* error);
bool WriteJpeg(const std::string& path, const FrameImage& image, int quality, std::string* error);

}  // namespace review
