// Sea: swell and white horses (see Sea.h).
#include "Sea.h"

#include <cmath>

#include "Noise.h"

namespace assetgen {

Rgb OpenSea(double depression) {
  const Rgb deep{0.05, 0.14, 0.19}, silver{0.40, 0.45, 0.47};
  return Mix(deep, silver, Smoothstep(56, 26, depression));
}

double Depression(double x, double y, double z) {
  return std::atan2(-y, std::hypot(x, z)) * 57.29577951308232;
}

Rgb SeaSurface(Rgb sea, double u, double v, int waves, bool tile) {
  double swell = Fbm(u, v, waves, 3, 1701, tile);
  double streaks = Fbm(u, v * 6, waves / 2, 2, 1704, tile);
  return sea * (0.95 + 0.16 * swell + 0.10 * streaks);
}

Rgb WhiteHorses(Rgb sea, double u, double v, int waves, bool tile, double share) {
  // Crests stretched along the wind, breaking where they peak inside a gust.
  double crest = Fbm(u, v * 3, waves * 2, 3, 1702, tile);
  double gust = Smoothstep(-0.3, 0.3, Fbm(u, v, waves / 4 + 1, 2, 1703, tile));
  double foam = Smoothstep(0.057, 0.21, crest) * gust * share;
  // Between the crests the troughs are darker than the calm sea.
  return Mix(sea * (1 - 0.1 * share), Rgb{0.80, 0.85, 0.88}, 0.9 * foam);
}

Rgb Glitter(Rgb sea, double strength, double u, double v, bool tile) {
  // Sunlight breaks through in patches; within them the wave facets flash.
  double patches = Smoothstep(-0.3, 0.5, Fbm(u, v, 6, 3, 1712, tile));
  double light = strength * (0.6 + 0.4 * patches);
  double facets = Smoothstep(0.0, 0.5, Fbm(u, v * 2, 64, 2, 1711, tile));
  Rgb sheen = Mix(sea, Rgb{0.70, 0.77, 0.80}, 0.95 * light);
  return sheen + Rgb{1.0, 0.97, 0.90} * (light * facets);
}

}  // namespace assetgen
