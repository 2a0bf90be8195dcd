// framediff: the mean absolute difference of two pictures of the same size
//
// Usage: framediff A.png B.png [--max LIMIT]. Prints the mean absolute difference over the red, green and
// blue values (0 to 255), each channel's own mean and the largest single difference. Exit status 1 when
// the mean exceeds LIMIT, 2 when a picture cannot be read or the sizes differ.
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Picture {
  unsigned width = 0, height = 0;
  std::vector<unsigned char> rgb;
};

bool Read(const char* path, Picture* picture) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path)) {
    std::fprintf(stderr, "framediff: %s: %s\n", path, image.message);
    return false;
  }
  image.format = PNG_FORMAT_RGB;
  picture->width = image.width;
  picture->height = image.height;
  picture->rgb.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, picture->rgb.data(), 0, nullptr)) {
    std::fprintf(stderr, "framediff: %s: %s\n", path, image.message);
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && !(argc == 5 && std::string(argv[3]) == "--max")) {
    std::fprintf(stderr, "usage: framediff A.png B.png [--max LIMIT]\n");
    return 2;
  }
  Picture a, b;
  if (!Read(argv[1], &a) || !Read(argv[2], &b)) return 2;
  if (a.width != b.width || a.height != b.height) {
    std::fprintf(stderr, "framediff: %ux%u and %ux%u differ in size\n", a.width, a.height, b.width, b.height);
    return 2;
  }
  double sums[3] = {0, 0, 0};
  int largest = 0;
  for (size_t i = 0; i < a.rgb.size(); ++i) {
    const int d = std::abs(a.rgb[i] - b.rgb[i]);
    sums[i % 3] += d;
    largest = std::max(largest, d);
  }
  const double pixels = static_cast<double>(a.width) * a.height;
  const double mean = (sums[0] + sums[1] + sums[2]) / (3 * pixels);
  std::printf("%.3f (red %.3f, green %.3f, blue %.3f; largest %d)\n", mean, sums[0] / pixels,
              sums[1] / pixels, sums[2] / pixels, largest);
  return argc == 5 && mean > std::atof(argv[4]) ? 1 : 0;
}
