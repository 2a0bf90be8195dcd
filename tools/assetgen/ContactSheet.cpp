// Contact sheet: every picture on one labelled PNG, for reviewing the art (see Artwork.h)
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "Artwork.h"
#include "Glyphs.h"
#include "Noise.h"
#include "Writers.h"

namespace assetgen {

namespace {

constexpr int kTile = 256;
constexpr int kLabel = 24;
constexpr int kGap = 8;
constexpr int kColumns = 4;

// Box-filtered (or nearest, when enlarging) copy of `src` into a tile at (x0, y0), composited
// over `under` by alpha.
void Place(Picture& sheet, const Picture& src, int x0, int y0, bool useAlpha, Rgb under) {
  for (int y = 0; y < kTile; ++y) {
    for (int x = 0; x < kTile; ++x) {
      int sx0 = x * src.width / kTile, sx1 = std::max(sx0 + 1, (x + 1) * src.width / kTile);
      int sy0 = y * src.height / kTile, sy1 = std::max(sy0 + 1, (y + 1) * src.height / kTile);
      Rgb sum;
      double alpha = 0;
      int n = 0;
      for (int sy = sy0; sy < sy1; ++sy) {
        for (int sx = sx0; sx < sx1; ++sx, ++n) {
          sum = sum + src.At(sx, sy);
          alpha += src.alpha[size_t(sy) * src.width + sx];
        }
      }
      Rgb c = sum * (1.0 / n);
      if (useAlpha) {
        bool check = ((x / 16) + (y / 16)) % 2 == 0;
        Rgb back = under * (check ? 1.0 : 0.8);
        c = Mix(back, c, alpha / n);
      }
      sheet.At(x0 + x, y0 + y) = c;
    }
  }
}

Picture FromGrey(const GreyMap& map) {
  Picture p(map.width, map.height);
  for (size_t i = 0; i < map.value.size(); ++i) p.colour[i] = Rgb{map.value[i], map.value[i], map.value[i]};
  return p;
}

// What the landscape shows: the layers blended by height as the terrain does (tent weights
// 64 apart, grass twice), shaded as the terrain's build shades its vertices.
Picture TerrainPreview(const Artwork& art) {
  const GreyMap& h = art.heightmap;
  Picture p(h.width, h.height);
  const Picture* layers[5] = {&art.coast, &art.green, &art.green, &art.rock, &art.snow};
  for (int y = 0; y < h.height; ++y) {
    for (int x = 0; x < h.width; ++x) {
      double height = std::round(h.At(x, y) * 255);
      Rgb c;
      for (int k = 0; k < 5; ++k) {
        double w = std::max(0.0, 1.0 - std::fabs(k * 64 - height) / 64.0);
        c = c + layers[k]->At(x % 256, y % 256) * w;
      }
      // The terrain's own bake: 50 + 105 cos(angle to a sun 150 above the centre), of 255.
      auto at = [&](int xx, int yy) {
        return h.At(std::clamp(xx, 0, h.width - 1), std::clamp(yy, 0, h.height - 1)) * 255 * 0.05859375;
      };
      // Picture rows run against the terrain's z: row y lies at z = (height - 1 - y) x 1.6.
      double dx = (at(x + 1, y) - at(x - 1, y)) / 3.2, dz = (at(x, y - 1) - at(x, y + 1)) / 3.2;
      double nx = -dx, ny = 1, nz = -dz, len = std::sqrt(nx * nx + ny * ny + nz * nz);
      double lx = 204.8 - x * 1.6, ly = 150 - at(x, y), lz = 204.8 - (h.height - 1 - y) * 1.6;
      double ll = std::sqrt(lx * lx + ly * ly + lz * lz);
      double shade = (50 + 105 * (nx * lx + ny * ly + nz * lz) / (len * ll)) / 255.0;
      p.At(x, y) = c * (shade * 1.6);  // brightened for viewing
    }
  }
  return p;
}

// The sky twice side by side, to show that the faces meet without a seam.
Picture SkySeam(const Picture& sky) {
  Picture p(sky.width * 2, sky.height);
  for (int y = 0; y < sky.height; ++y) {
    for (int x = 0; x < p.width; ++x) p.At(x, y) = sky.At(x % sky.width, y);
  }
  Picture square(p.height, p.height);
  for (int y = 0; y < square.height; ++y) {
    for (int x = 0; x < square.width; ++x) square.At(x, y) = p.At(x * 2, y);
  }
  return square;
}

}  // namespace

bool WriteContactSheet(const std::filesystem::path& file, const Artwork& art) {
  struct Item {
    std::string label;
    Picture picture;
    bool alpha;
  };
  std::vector<Item> items = {
      {"TerrainData4.bmp", FromGrey(art.heightmap), false},
      {"terrain (layers, shaded)", TerrainPreview(art), false},
      {"tex0 coast", art.coast, false},
      {"tex1 green", art.green, false},
      {"tex2 rock", art.rock, false},
      {"tex3 snow", art.snow, false},
      {"sky.bmp", art.sky, false},
      {"sky x2 (seam check)", SkySeam(art.sky), false},
      {"stone.bmp", art.stone, false},
      {"particle.jpg", art.particle, false},
      {"torus.jpg", art.torus, false},
      {"bg1.jpg", art.backdrop, false},
      {"ttex_1.jpg", art.tunnelMetal, false},
      {"ttex_2.jpg", art.tunnelLava, false},
      {"console.png", art.console, true},
      {"Font.tga", art.font, true},
  };
  int rows = int(items.size() + kColumns - 1) / kColumns;
  Picture sheet(kColumns * (kTile + kGap) + kGap, rows * (kTile + kLabel + kGap) + kGap);
  std::fill(sheet.colour.begin(), sheet.colour.end(), Rgb{0.12, 0.12, 0.14});
  Typeface face;
  if (!face.Open(kSansBoldFont)) return false;
  face.SetSize(14, 14);
  for (size_t i = 0; i < items.size(); ++i) {
    int x0 = kGap + int(i % kColumns) * (kTile + kGap),
        y0 = kGap + int(i / kColumns) * (kTile + kLabel + kGap);
    DrawText(sheet, face, items[i].label, x0, y0 + 16, Rgb{0.9, 0.9, 0.9}, 1.0, false);
    Rgb under = items[i].label == "Font.tga" ? Rgb{0.25, 0.25, 0.3} : Rgb{0, 0, 0};
    Place(sheet, items[i].picture, x0, y0 + kLabel, items[i].alpha, under);
  }
  return WritePng(file, sheet, false);
}

}  // namespace assetgen
