// assetgen: writes every data file of the demo's run folder, procedurally and reproducibly
//
//   assetgen RUN_FOLDER              pictures, font and music into RUN_FOLDER/data, /textures
//   assetgen --contact-sheet FILE    one PNG of every picture, for review
//   assetgen --no-music RUN_FOLDER   everything but the MP3 (quick looks at the art)
//
// The music renders on a second thread while the pictures are painted; the two share nothing,
// so the output does not depend on timing.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "Artwork.h"
#include "Mp3.h"
#include "Song.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: assetgen [--no-music] RUN_FOLDER\n"
               "       assetgen --contact-sheet FILE.png\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string sheet, root;
  bool music = true;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--contact-sheet") == 0 && i + 1 < argc) {
      sheet = argv[++i];
    } else if (std::strcmp(argv[i], "--no-music") == 0) {
      music = false;
    } else if (argv[i][0] != '-' && root.empty()) {
      root = argv[i];
    } else {
      return Usage();
    }
  }
  if (sheet.empty() && root.empty()) return Usage();

  bool musicOk = true;
  std::thread composer;
  if (!root.empty() && music) {
    composer = std::thread([&musicOk, root] {
      assetgen::Stereo song = assetgen::MakeSong();
      musicOk = assetgen::WriteMp3(std::filesystem::path(root) / "data" / "demosong.mp3", song, 160, 7);
    });
  }
  assetgen::Artwork art;
  bool ok = assetgen::PaintArtwork(art);
  if (ok && !root.empty()) ok = assetgen::WritePictures(root, art);
  if (ok && !sheet.empty()) ok = assetgen::WriteContactSheet(sheet, art);
  if (composer.joinable()) composer.join();
  return ok && musicOk ? 0 : 1;
}
