// Terrain art: the layer pictures, painted spot by spot over the island (see Terrain.h)
//
// A texel shows the layers blended by the height beneath it (tent weights 64 bytes wide), so water and beach,
// which lie where two bands overlap, are painted alike in both.
#include "Terrain.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "Noise.h"
#include "Sea.h"

namespace assetgen {

namespace {

constexpr int kSize = 256;

// The light the land is painted for. The baked light falls off away from the sun's foot and
// on every slope turned from it, which is most of what the flight sees from the south-west;
// there the texels are brightened, up to a limit, and the painted hill shade does the shading.
constexpr double kPaintedLight = 1.0;
constexpr double kMostBrightening = 2.5;

const Rgb kSnow{0.95, 0.97, 1.0};

Rgb Clamp(Rgb c) { return {Clamp01(c.r), Clamp01(c.g), Clamp01(c.b)}; }

struct Spot {
  const Site& site;
  int x, y;
  double u, v;
};

// Scaled down as a whole where a channel would pass 1, so bright sand stays sand-coloured.
Rgb Fit(Rgb c) {
  double top = std::max({c.r, c.g, c.b});
  return top > 1 ? c * (1 / top) : c;
}

// Exposed for the baked light first, as bright as a texel can be; the painted hill shade comes
// after, so it darkens even what the light keeps dim.
Rgb Land(Rgb c, const Spot& p) {
  double exposure = std::clamp(kPaintedLight / std::max(p.site.light, 0.01), 1.0, kMostBrightening);
  return Fit(Fit(c * exposure) * p.site.relief);
}

// Water is flat, so the baked light on it is known: paint what the screen should show,
// divided by that light.
Rgb Water(Rgb screen, const Spot& p) { return Clamp(screen * (1 / std::max(p.site.light, 0.01))); }

// The open sea as the flight sees it, from about the middle of its path, (45, 75, 110).
Rgb OffShore(const Spot& p) {
  double x = p.x * 1.6, z = (kSize - 1 - p.y) * 1.6;
  return SeaSurface(OpenSea(Depression(x - 45, -75, z - 110)), p.u, p.v, 24, true);
}

Rgb Sea(const Spot& p) {
  Rgb shallow{0.22, 0.50, 0.48};
  Rgb c = Mix(shallow, OffShore(p), Smoothstep(0.0, -4.0, p.site.inland));
  // Surf breaks in a ragged line just off the beach.
  double breakers = Smoothstep(0.35, 0.75, 0.5 + 0.5 * Fbm(p.u, p.v, 40, 3, 1602));
  double surf = Smoothstep(-1.8, -0.6, p.site.inland) * (0.4 + 0.6 * breakers);
  return Water(Mix(c, Rgb{0.52, 0.56, 0.55}, surf), p);
}

Rgb Tarn(const Spot& p) {
  Rgb deep{0.085, 0.19, 0.28}, edge{0.155, 0.305, 0.33};
  double rim = Smoothstep(0.7, 1.0, std::fabs(Fbm(p.u, p.v, 20, 2, 1605)) + 0.6);
  return Water(Mix(deep, edge, 0.3 * rim), p);
}

// The beach shelves towards the sea, away from the sun; the hill shade leaves it alone, as
// bright as the light allows.
Rgb Beach(const Spot& p) {
  Rgb dry{1.0, 0.93, 0.74}, wet{0.80, 0.72, 0.55};
  Rgb c = Mix(wet, dry, Smoothstep(0.0, 1.5, p.site.inland));
  c = c * (0.95 + 0.05 * Fbm(p.u, p.v, 32, 2, 1611) + 0.06 * (Hash01(p.x, p.y, 1612) - 0.5));
  double exposure = std::clamp(kPaintedLight / std::max(p.site.light, 0.01), 1.0, kMostBrightening);
  return Fit(c * exposure);
}

// Water and beach look the same in every band; false elsewhere.
bool Shore(const Spot& p, Rgb& out) {
  if (p.site.inland < 0) {
    out = Sea(p);
  } else if (p.site.lake) {
    out = Tarn(p);
  } else if (p.site.inland < 4 && p.site.height < 45) {
    out = Beach(p);
  } else {
    return false;
  }
  return true;
}

Rgb Rock(const Spot& p) {
  // Joints: the zero lines of warped noise; strata across; light and dark stone in patches.
  double wu = p.u + 0.03 * Fbm(p.u, p.v, 4, 3, 1631), wv = p.v + 0.03 * Fbm(p.u, p.v, 4, 3, 1632);
  double joint = Smoothstep(0.0, 0.08, std::fabs(Fbm(wu, wv, 12, 3, 1633)));
  double strata = 0.5 + 0.5 * std::sin(6.2831853 * (14 * p.v + 2 * Fbm(p.u, p.v, 3, 3, 1634)));
  Rgb grey{0.16, 0.15, 0.15}, ochre{0.21, 0.175, 0.135};
  Rgb c = Mix(grey, ochre, Smoothstep(0.3, 0.8, 0.5 + 0.5 * Fbm(p.u, p.v, 4, 4, 1635)));
  return c * ((0.70 + 0.30 * joint) * (0.92 + 0.10 * strata) * (0.95 + 0.1 * Hash01(p.x, p.y, 1636)));
}

Rgb Green(const Spot& p) {
  const Site& s = p.site;
  Rgb lush{0.62, 0.90, 0.32}, dry{0.96, 0.93, 0.58}, alpine{0.90, 0.86, 0.62}, wood{0.01, 0.06, 0.02};
  // Pale heath by the sea in the south-west, greener inland.
  double row = kSize - 1 - p.y, corner = std::hypot(p.x - 10.0, row - 10.0);
  double heath = 0.5 + 0.5 * Fbm(p.u, p.v, 5, 3, 1621) + 0.35 * Smoothstep(100, 50, corner);
  Rgb c = Mix(lush, dry, Smoothstep(0.30, 0.60, heath));
  c = Mix(c, alpine, Smoothstep(80, 140, s.height));
  c = c * (0.92 + 0.08 * Fbm(p.u, p.v, 40, 2, 1622));
  // Woods: large stands in the valleys and on the lower slopes, thinning out with height and
  // away from the south-west corner, towards the open heart of the island.
  double woods = 0.5 + 0.5 * Fbm(p.u, p.v, 9, 3, 1623) + 0.02 * s.hollow - 0.0026 * s.height -
                 0.08 * Smoothstep(50, 100, corner) + 0.08 * Smoothstep(50, 25, row) - 0.023;
  // Crowns catch the light in clumps; the stands' edges are ragged, not stepped.
  double crowns =
      0.7 + 0.6 * Smoothstep(-0.2, 0.6, Fbm(p.u, p.v, 48, 2, 1625)) + 0.2 * Hash01(p.x, p.y, 1624);
  c = Mix(c, wood * crowns, Smoothstep(0.36, 0.46, woods));
  // Where the slope is too steep for soil the rock shows, and more so higher up; above that
  // the snow lies wherever it can.
  c = Mix(c, Rock(p), Smoothstep(30, 40, s.slope + 0.1 * s.height));
  return Mix(c, kSnow, Smoothstep(150, 175, s.height + 2 * s.hollow - 1.5 * s.slope));
}

Picture Paint(const Island& island, const std::function<Rgb(const Spot&)>& band) {
  Picture picture(kSize, kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      double u = double(x) / kSize, v = double(y) / kSize;
      Spot p{island.At(x, y), x, y, u, v};
      Rgb c;
      picture.At(x, y) = Shore(p, c) ? c : band(p);
    }
  }
  return picture;
}

}  // namespace

// Above the beach the lowest band is the green land as well: the low ground shows both layers,
// and woods painted in one only would come out half as dark.
Picture MakeCoastLayer(const Island& island) {
  return Paint(island, [](const Spot& p) { return Land(Green(p), p); });
}

Picture MakeGreenLayer(const Island& island) {
  return Paint(island, [](const Spot& p) { return Land(Green(p), p); });
}

Picture MakeRockLayer(const Island& island) {
  // Snow lies on the gentler slopes and fills the gullies.
  return Paint(island, [](const Spot& p) {
    double snow = Smoothstep(26, 16, p.site.slope - 1.5 * p.site.hollow);
    return Land(Mix(Rock(p), kSnow, snow), p);
  });
}

Picture MakeSnowLayer(const Island& island) {
  return Paint(island, [](const Spot& p) {
    double drift = 0.5 + 0.5 * Fbm(p.u, p.v, 8, 4, 1651);
    Rgb snow = kSnow * (0.94 + 0.06 * drift);
    return Land(Mix(snow, Rock(p), Smoothstep(28, 36, p.site.slope)), p);
  });
}

}  // namespace assetgen
