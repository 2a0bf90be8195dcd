// Fuzz target: the BMP reader followed by the reads each of its users makes
#include <cstddef>
#include <cstdint>

#include "image/Image.h"
#include "support/FuzzInput.h"

namespace {

constexpr size_t kLayerBytes = 256 * 256 * 3;

void UseAsHeightmap(const Image& image) {
  if (image.Bits() != 8) return;
  fuzz::Touch(image.Pixels(), static_cast<size_t>(image.Width()) * image.Height());
}

void UseAsLayer(const Image& image) {
  if (image.Bits() != 24 || image.Size() < kLayerBytes) return;
  fuzz::Touch(image.Pixels(), kLayerBytes);
}

void UseAsSkyFace(const Image& image) {
  if (image.Bits() != 24 || image.Pixels() == nullptr) return;
  fuzz::Touch(image.Pixels(), static_cast<size_t>(image.Width()) * image.Height() * 3);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = fuzz::WriteInputFile(data, size);
  int boxes = 0;
  const ShowMessageBox countBoxes = [&boxes](const std::string&, const std::string&, unsigned, BoxOwner) {
    ++boxes;
    return 1;
  };
  Image image;
  const bool loaded = image.LoadBitmap(path, countBoxes);
  fuzz::Require(loaded ? boxes == 0 : boxes == 1, "one box exactly for each refused file");
  fuzz::Require(loaded == (image.Pixels() != nullptr), "pixels exactly when loaded");
  fuzz::Require(image.Size() == static_cast<size_t>(image.Bits() / 8) * image.Width() * image.Height(),
                "buffer size matches the dimensions");
  UseAsHeightmap(image);
  UseAsLayer(image);
  UseAsSkyFace(image);
  return 0;
}
