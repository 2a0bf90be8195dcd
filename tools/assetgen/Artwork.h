// Artwork: every picture of the run folder, painted once, and where each one is written
#pragma once

#include <filesystem>

#include "Picture.h"

namespace assetgen {

struct Artwork {
  GreyMap heightmap;
  Picture coast, green, rock, snow;
  Picture sky, stone;
  Picture particle, torus, backdrop, tunnelMetal, tunnelLava;
  Picture console, font;
};

// Paints everything; false (with a message) when a font cannot be opened.
bool PaintArtwork(Artwork& art);

// Writes the pictures into the run folder `root` under the names the demo reads.
bool WritePictures(const std::filesystem::path& root, const Artwork& art);

// One PNG showing every picture, labelled, for review.
bool WriteContactSheet(const std::filesystem::path& file, const Artwork& art);

}  // namespace assetgen
