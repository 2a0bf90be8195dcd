// frame-review: luma figures of captured frames, one contact sheet of them, thumbnails
//
//   frame-review [--sheet FILE.png] [--columns N] [--tile WxH] [--thumbs DIR] [--thumb-width W]
//                FRAME.png...
// Prints a line per frame: the file, its programme time (from the capture tool's tNNNNNN.png
// names), and the mean and standard deviation of its luma.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "review/ContactSheet.h"
#include "review/FrameImage.h"
#include "review/FrameStats.h"

namespace {

struct Options {
  std::string sheet, thumbs;
  review::SheetLayout layout;
  int thumbWidth = 320;
  std::vector<std::string> frames;
};

int Usage() {
  std::fputs(
      "usage: frame-review [--sheet FILE.png] [--columns N] [--tile WxH] [--thumbs DIR]\n"
      "                    [--thumb-width W] FRAME.png...\n",
      stderr);
  return 2;
}

bool ParseCount(const char* text, int low, int high, int* value) {
  char* end = nullptr;
  const long n = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || n < low || n > high) return false;
  *value = static_cast<int>(n);
  return true;
}

bool ParseArgs(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--sheet" && hasValue) {
      options->sheet = argv[++i];
    } else if (arg == "--thumbs" && hasValue) {
      options->thumbs = argv[++i];
    } else if (arg == "--columns" && hasValue) {
      if (!ParseCount(argv[++i], 1, 64, &options->layout.columns)) return false;
    } else if (arg == "--thumb-width" && hasValue) {
      if (!ParseCount(argv[++i], 16, 4096, &options->thumbWidth)) return false;
    } else if (arg == "--tile" && hasValue) {
      const std::string size = argv[++i];
      const size_t x = size.find('x');
      if (x == std::string::npos ||
          !ParseCount(size.substr(0, x).c_str(), 16, 4096, &options->layout.tileWidth) ||
          !ParseCount(size.substr(x + 1).c_str(), 16, 4096, &options->layout.tileHeight)) {
        return false;
      }
    } else if (arg.rfind("--", 0) == 0) {
      return false;
    } else {
      options->frames.push_back(arg);
    }
  }
  return !options->frames.empty();
}

// "75.500 s" from ".../t075500.png"; empty for other names.
std::string ProgrammeTime(const std::string& path) {
  const std::string name = std::filesystem::path(path).stem().string();
  if (name.size() != 7 || name[0] != 't' || name.find_first_not_of("0123456789", 1) != std::string::npos)
    return "";
  const long ms = std::strtol(name.c_str() + 1, nullptr, 10);
  char text[32];
  std::snprintf(text, sizeof text, "%ld.%03ld s", ms / 1000, ms % 1000);
  return text;
}

bool WriteThumbnail(const Options& options, const std::string& path, const review::FrameImage& frame) {
  const int height = std::max(1, frame.height * options.thumbWidth / std::max(1, frame.width));
  const std::filesystem::path out =
      std::filesystem::path(options.thumbs) / (std::filesystem::path(path).stem().string() + ".jpg");
  std::string error;
  if (review::WriteJpeg(out.string(), review::Shrink(frame, options.thumbWidth, height), 85, &error))
    return true;
  std::fprintf(stderr, "frame-review: %s\n", error.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseArgs(argc, argv, &options)) return Usage();
  std::error_code made;
  if (!options.thumbs.empty()) std::filesystem::create_directories(options.thumbs, made);
  bool ok = true;
  std::vector<review::SheetTile> tiles;
  for (const std::string& path : options.frames) {
    review::FrameImage frame;
    std::string error;
    if (!review::ReadPng(path, frame, &error)) {
      std::fprintf(stderr, "frame-review: %s\n", error.c_str());
      ok = false;
      continue;
    }
    const review::Luminance luma = review::MeasureLuminance(frame);
    const std::string time = ProgrammeTime(path);
    std::printf("%-24s %10s  mean %6.1f  sd %5.1f\n", std::filesystem::path(path).filename().c_str(),
                time.c_str(), luma.mean, luma.sd);
    char label[64];
    std::snprintf(label, sizeof label, "%s m%.0f sd%.0f", time.c_str(), luma.mean, luma.sd);
    if (!options.thumbs.empty()) ok = WriteThumbnail(options, path, frame) && ok;
    // Kept at tile size only: a flight's worth of full frames would take a lot of memory.
    if (!options.sheet.empty()) {
      tiles.push_back({review::Shrink(frame, options.layout.tileWidth, options.layout.tileHeight), label});
    }
  }
  if (!options.sheet.empty() && !tiles.empty()) {
    std::string error;
    if (!review::WritePng(options.sheet, review::ComposeSheet(tiles, options.layout), &error)) {
      std::fprintf(stderr, "frame-review: %s\n", error.c_str());
      ok = false;
    }
  }
  return ok ? 0 : 1;
}
