// Island: heightmap composition and the per-spot facts the painters use (see Island.h)
//
// Works in terrain cells: column c runs with the terrain's x, row r with its z (row 0 is the first row the
// terrain reads, the last row of the picture). The flight's eye circles about (20..70, 50..99, 100..120) and
// looks 50 degrees down, so it sees the south-west quarter of the grid, x -130..220 and z -50..270, and
// beyond the edges x = 0 and z = 0 the sky box floor.
#include "Island.h"

#include <algorithm>
#include <cmath>

#include "Noise.h"

namespace assetgen {

namespace {

constexpr int kSize = 256;
constexpr double kCell = 1.6;           // world units between samples
constexpr double kByte = 15.0 / 256.0;  // world units per height byte
constexpr double kSunX = 204.8, kSunY = 150, kSunZ = 204.8;
constexpr double kMaxStep = 30;  // bytes between neighbours: about 48 degrees

// Terrain-ordered scratch field.
struct Field {
  std::vector<double> v = std::vector<double>(size_t(kSize) * kSize, 0.0);
  double& At(int c, int r) { return v[size_t(r) * kSize + c]; }
  // Reads clamp to the edge, so neighbours of border samples are the border itself.
  double operator()(int c, int r) const {
    return v[size_t(std::clamp(r, 0, kSize - 1)) * kSize + std::clamp(c, 0, kSize - 1)];
  }
};

double SmoothMin(double a, double b, double k) {
  double h = std::max(k - std::fabs(a - b), 0.0) / k;
  return std::min(a, b) - h * h * k / 4;
}

// Cells from the shoreline, positive on land. The south and west shores keep close to the
// terrain's edges, so the sea there continues the sky box floor; north and east, which the
// flight never sees, lie further in.
double Inland(double c, double r) {
  double u = c / kSize, v = r / kSize;
  double west = c - (6 + 2 * Fbm(0.3, v, 4, 3, 1501, false));
  double south = r - (6 + 2 * Fbm(u, 0.7, 4, 3, 1502, false));
  double east = (kSize - 1 - c) - (26 + 12 * Fbm(0.6, v, 3, 3, 1503, false));
  double north = (kSize - 1 - r) - (26 + 12 * Fbm(u, 0.2, 3, 3, 1504, false));
  double d = SmoothMin(SmoothMin(west, south, 12), SmoothMin(east, north, 30), 30);
  // Headlands and coves, but three cells of sea at least along every edge.
  return std::min({d + 1.5 * Fbm(u, v, 10, 3, 1505, false), c - 3, r - 3, kSize - 4 - c, kSize - 4 - r});
}

// The mountains stand south and west of the flight's path, between it and the sea, so that
// the flanks the eye looks at are those turned to the sun over the island's middle: a range
// along the south coast and a lower ridge along the west coast.
double Mountains(double c, double r, double inland) {
  double u = c / kSize, v = r / kSize;
  double wu = u + 0.05 * Fbm(u, v, 3, 3, 1511, false), wv = v + 0.05 * Fbm(u, v, 3, 3, 1512, false);
  double range = Smoothstep(26, 8, std::hypot((c - 80) / 2.2, r - 32));
  // The ridge's seaward flank is the shorter, so its long flank faces inland, to the sun.
  double ridgeLine = 18 + 4 * Fbm(0.2, v, 3, 3, 1514, false), d = c - ridgeLine;
  double ridge = (d < 0 ? Smoothstep(8.6, 2.3, -d) : Smoothstep(11, 3, d)) * Smoothstep(30, 50, r) *
                 Smoothstep(180, 140, r);
  double mask = std::max(range * Smoothstep(2, 12, inland), 0.63 * ridge * Smoothstep(2, 8.9, inland));
  double peaks = Ridged(wu, wv, 4, 5, 1513, false);
  return mask * (25 + 250 * std::pow(peaks, 1.25));
}

// A snowy massif north-east of the path, towards the sun's foot, where the bake gives the most
// light anywhere the flight looks: it looks north and east across it when it is high.
double Massif(double c, double r) {
  double u = c / kSize, v = r / kSize;
  double d = std::hypot((c - 88) / 1.2, r - 100) + 6 * Fbm(u, v, 6, 3, 1516, false);
  double wu = u + 0.04 * Fbm(u, v, 4, 3, 1518, false), wv = v + 0.04 * Fbm(u, v, 4, 3, 1519, false);
  double peaks = Ridged(wu, wv, 6, 5, 1517, false);
  return Smoothstep(40, 12, d) * (90 + 200 * std::pow(peaks, 1.1));
}

// Bytes above the ground: ridges across the north-east, rising steeply north-eastwards and
// falling back gently, their crests broken and wandering.
double Scarps(double c, double r) {
  double u = c / kSize, v = r / kSize;
  // Crests run across the direction to the sun (about 49 degrees from the rows), 13 cells apart.
  constexpr double kPeriod = 13, kHeight = 150, kRise = 0.23, kSin = 0.751, kCos = 0.660;
  double phase = (c * kSin + r * kCos) / kPeriod + 0.9 * Fbm(u, v, 5, 3, 1542, false);
  double x = phase - std::floor(phase);
  double profile = x < kRise ? x / kRise : (1 - x) / (1 - kRise);
  double crest = Smoothstep(-0.47, 0.5, Fbm(u, v, 8, 3, 1543, false));
  return kHeight * crest * profile;
}

double LandHeight(double c, double r, double inland) {
  double u = c / kSize, v = r / kSize;
  double shore = 8 + 30 * (1 - std::exp(-inland / 6));  // beach, then a quick rise
  double hills = Smoothstep(1, 12, inland) * 34 * (0.5 + 0.5 * Fbm(u, v, 7, 4, 1521, false));
  // Scarps in the south-west lowland, where the flight looks from low down: tilted beds whose
  // long backs face the sun, which the bake lights better than level ground, and whose short
  // steep faces turn away, towards the sea.
  double scarps = Smoothstep(56.5, 41.5, r) * Smoothstep(58.7, 43.7, c) * Smoothstep(2, 8, inland);
  hills += scarps * Scarps(c, r);
  // Gentler downs over the far half of the island.
  double downs = Smoothstep(0.9, 1.4, u + v) * 40 * Ridged(u, v, 3, 4, 1522, false);
  return std::max(0.8 * (shore + hills + downs + Mountains(c, r, inland)), 1.05 * Massif(c, r));
}

// Lakes in the lowland the flight looks over when it looks north and east: level water in a
// bowl. Centre (cells), radius across and along (cells), water level (bytes before stretching).
struct Lake {
  double c, r, across, along, level;
};
constexpr Lake kLakes[] = {{44, 78, 6, 5, 50}, {50, 104, 8, 10, 44}, {84, 62, 9, 6, 48}};

// Distance from a lake's shore in units of its size: below 1 is water.
double LakeDistance(const Lake& lake, double c, double r) {
  double u = c / kSize, v = r / kSize;
  return std::hypot((c - lake.c) / lake.across, (r - lake.r) / lake.along) +
         0.2 * Fbm(u, v, 12, 2, 1531, false);
}

bool InLake(double c, double r) {
  for (const Lake& lake : kLakes)
    if (LakeDistance(lake, c, r) < 1) return true;
  return false;
}

Field ComposeHeights() {
  Field h;
  for (int r = 0; r < kSize; ++r) {
    for (int c = 0; c < kSize; ++c) {
      double inland = Inland(c, r);
      double land = LandHeight(c, r, inland);
      for (const Lake& lake : kLakes) {
        double t = LakeDistance(lake, c, r);
        land = Lerp(land, std::min(land, lake.level + 40 * std::max(0.0, t - 1)), Smoothstep(2.0, 1.0, t));
        if (t < 1) land = lake.level;
      }
      // Under water the ground shelves up to the beach over three cells; further out the sea
      // is level, so the baked light on it is even.
      h.At(c, r) = inland < 0 ? std::max(0.0, 8 + 8 * inland / 3) : std::max(land, 0.0);
    }
  }
  return h;
}

// Caps every step between neighbours at kMaxStep by lowering the higher side (scree settles):
// forward and backward sweeps, as in a distance transform, until nothing moves.
void SettleSlopes(Field& h) {
  for (bool moved = true; moved;) {
    moved = false;
    auto settle = [&](int c, int r, int dc, int dr) {
      double cap = h(c + dc, r + dr) + kMaxStep;
      if (h(c, r) > cap) h.At(c, r) = cap, moved = true;
    };
    for (int r = 0; r < kSize; ++r)
      for (int c = 0; c < kSize; ++c) {
        if (c > 0) settle(c, r, -1, 0);
        if (r > 0) settle(c, r, 0, -1);
      }
    for (int r = kSize - 1; r >= 0; --r)
      for (int c = kSize - 1; c >= 0; --c) {
        if (c < kSize - 1) settle(c, r, 1, 0);
        if (r < kSize - 1) settle(c, r, 0, 1);
      }
  }
}

// Stretches the land so that the highest peak reaches byte 255; the sea stays at 0.
void Stretch(Field& h) {
  double high = *std::max_element(h.v.begin(), h.v.end());
  for (double& x : h.v) x *= 255.0 / high;
}

Field Blur(const Field& h, int radius) {
  Field across, out;
  for (int r = 0; r < kSize; ++r)
    for (int c = 0; c < kSize; ++c) {
      double sum = 0;
      for (int k = -radius; k <= radius; ++k) sum += h(c + k, r);
      across.At(c, r) = sum / (2 * radius + 1);
    }
  for (int r = 0; r < kSize; ++r)
    for (int c = 0; c < kSize; ++c) {
      double sum = 0;
      for (int k = -radius; k <= radius; ++k) sum += across(c, r + k);
      out.At(c, r) = sum / (2 * radius + 1);
    }
  return out;
}

// The terrain's own bake, out of 255: 50 + 105 cos(angle between the vertex normal and the
// sun), and 50 on the border, whose normals are left zero.
double BakedLight(const Field& h, int c, int r) {
  if (c == 0 || r == 0 || c == kSize - 1 || r == kSize - 1) return 50.0 / 255;
  double nx = -(h(c + 1, r) - h(c - 1, r)) * kByte / (2 * kCell), ny = 1;
  double nz = -(h(c, r + 1) - h(c, r - 1)) * kByte / (2 * kCell);
  double lx = kSunX - c * kCell, ly = kSunY - h(c, r) * kByte, lz = kSunZ - r * kCell;
  double cosine = (nx * lx + ny * ly + nz * lz) /
                  (std::sqrt(nx * nx + ny * ny + nz * nz) * std::sqrt(lx * lx + ly * ly + lz * lz));
  return std::max(0.0, 50 + 105 * cosine) / 255;
}

// Hill shade, as on a relief map: the bake's own sun, on the relief drawn twice as high;
// valleys a little darker, crests a little lighter. The bake alone hardly shows 15 units of
// relief from 100 away.
double Relief(const Field& h, int c, int r, double hollow) {
  constexpr double kExaggerate = 2.0;
  double gx = (h(c + 1, r) - h(c - 1, r)) * kByte * kExaggerate / (2 * kCell);
  double gz = (h(c, r + 1) - h(c, r - 1)) * kByte * kExaggerate / (2 * kCell);
  double nx = -gx, ny = 1, nz = -gz, n = std::sqrt(nx * nx + ny * ny + nz * nz);
  double lx = kSunX - c * kCell, ly = kSunY - h(c, r) * kByte, lz = kSunZ - r * kCell;
  double l = std::sqrt(lx * lx + ly * ly + lz * lz);
  double lambert = (nx * lx + ny * ly + nz * lz) / (n * l), level = ly / l;
  double shade = std::clamp(0.5 + 0.5 * lambert / level, 0.85, 1.15);
  return shade * (1 - 0.01 * std::clamp(hollow, -10.0, 15.0));
}

}  // namespace

Island MakeIsland() {
  Field field = ComposeHeights();
  // Settling lowers the peaks; stretching lifts them back to 255 and steepens the steps a
  // little, so the two alternate until the steps stay under the cap.
  for (int pass = 0; pass < 4; ++pass) {
    Stretch(field);
    SettleSlopes(field);
  }
  for (double& x : field.v) x = std::round(x);
  const Field& h = field;
  Field around = Blur(h, 6);
  Island island;
  island.heights = GreyMap(kSize, kSize);
  island.sites.resize(size_t(kSize) * kSize);
  for (int r = 0; r < kSize; ++r) {
    for (int c = 0; c < kSize; ++c) {
      int y = kSize - 1 - r;
      island.heights.At(c, y) = h(c, r) / 255.0;
      Site& s = island.sites[size_t(y) * kSize + c];
      s.height = h(c, r);
      double gx = (h(c + 1, r) - h(c - 1, r)) / 2, gz = (h(c, r + 1) - h(c, r - 1)) / 2;
      s.slope = std::atan(std::hypot(gx, gz) * kByte / kCell) * 57.29577951308232;
      s.inland = Inland(c, r);
      s.hollow = around(c, r) - h(c, r);
      s.relief = Relief(h, c, r, s.hollow);
      // A texel's middle lies between four vertices (texel c spans vertex c to c + 1); the
      // last one's other half is the first column's, across the repeat.
      int c1 = (c + 1) % kSize, r1 = (r + 1) % kSize;
      s.light =
          (BakedLight(h, c, r) + BakedLight(h, c1, r) + BakedLight(h, c, r1) + BakedLight(h, c1, r1)) / 4;
      s.lake = s.inland > 0 && InLake(c, r);
    }
  }
  return island;
}

}  // namespace assetgen
