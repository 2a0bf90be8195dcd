// Fuzz target: LoadJpeg, then the read its users make when they upload the result
#include "image/Jpeg.h"

#include <cstddef>
#include <cstdint>

#include "support/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = fuzz::WriteInputFile(data, size);
  unsigned width = 7, height = 7, bits = 7;
  const auto rgba = LoadJpeg(path, width, height, bits);
  if (!rgba) {
    fuzz::Require(width == 0 && height == 0 && bits == 0, "a failure leaves the outputs 0");
    return 0;
  }
  fuzz::Require(width > 0 && height > 0 && bits == 32, "a picture has a size and 32 bits");
  fuzz::Touch(rgba.get(), static_cast<size_t>(width) * height * 4);
  return 0;
}
