// ContactSheet: frames side by side in rows, each with a short label under it.
#pragma once

#include <string>
#include <vector>

#include "review/FrameImage.h"

namespace review {

struct SheetTile {
  FrameImage frame;
  std::string label;  // digits, spaces and ". s m e a n d /"; other characters are left blank
};

struct SheetLayout {
  int columns = 6;
  int tileWidth = 256;
  int tileHeight = 192;
};

// Every frame shrunk to the tile size, in reading order, on a dark ground.
FrameImage ComposeSheet(const std::vector<SheetTile>& tiles, const SheetLayout& layout);

}  // namespace review
