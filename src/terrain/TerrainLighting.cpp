// TerrainLighting: face and vertex normals, and the sun's shades baked into the vertex colours
#include <algorithm>
#include <cmath>

#include "terrain/Terrain.h"

// Sums run in double and are rounded to float where they are stored.

namespace {

// Shade of a vertex at right angles to the sun, and the most the sun adds to it.
constexpr int kBaseShade = 50;
constexpr double kSunShade = 105.0;

Vector4 Difference(const Vector3& p, const Vector3& q) {
  Vector4 d;
  d.x = static_cast<float>(static_cast<double>(p.x) - q.x);
  d.y = static_cast<float>(static_cast<double>(p.y) - q.y);
  d.z = static_cast<float>(static_cast<double>(p.z) - q.z);
  return d;
}

}  // namespace

void Terrain::CalculateNormals() {
  for (TerrainTriangle& t : triangles_) {
    const Vector3& pa = vertices_[t.a].position;
    const Vector4 n = Difference(pa, vertices_[t.b].position).Cross(Difference(pa, vertices_[t.c].position));
    const double length = n.Length();
    t.normal.x = static_cast<float>(n.x / length);
    t.normal.y = static_cast<float>(n.y / length);
    t.normal.z = static_cast<float>(n.z / length);
  }
  const int w1 = width_ - 1;
  for (int r = 1; r < depth_ - 1; ++r) {
    for (int c = 1; c < width_ - 1; ++c) {
      const int k1 = (r - 1) * w1 + c, k2 = r * w1 + c;
      const int touching[6] = {2 * k1 - 1, 2 * k1, 2 * k1 + 1, 2 * k2 - 2, 2 * k2 - 1, 2 * k2};
      double x = 0.0, y = 0.0, z = 0.0;
      for (int n : touching) {
        x += triangles_[static_cast<size_t>(n)].normal.x;
        y += triangles_[static_cast<size_t>(n)].normal.y;
        z += triangles_[static_cast<size_t>(n)].normal.z;
      }
      Vector4& normal = vertices_[static_cast<size_t>(r) * width_ + c].normal;
      normal.x = static_cast<float>(x);
      normal.y = static_cast<float>(y);
      normal.z = static_cast<float>(z);
      const double length = normal.Length();
      normal.x = static_cast<float>(normal.x / length);
      normal.y = static_cast<float>(normal.y / length);
      normal.z = static_cast<float>(normal.z / length);
    }
  }
}

void Terrain::CalculateLighting() {
  const Vector3 sun{sun_.x, sun_.y, sun_.z};
  for (TerrainVertex& v : vertices_) {
    int shade = kBaseShade;
    // Border vertices keep the zero normal: no direction, so no sun term.
    if (v.normal.x != 0.0f || v.normal.y != 0.0f || v.normal.z != 0.0f) {
      Vector3 toSun;
      toSun.Set(static_cast<float>(static_cast<double>(sun.x) - v.position.x),
                static_cast<float>(static_cast<double>(sun.y) - v.position.y),
                static_cast<float>(static_cast<double>(sun.z) - v.position.z));
      Vector3 normal;
      normal.Set(v.normal.x, v.normal.y, v.normal.z);
      toSun.Normalize();
      normal.Normalize();
      const float cosine = static_cast<float>(static_cast<double>(toSun.x) * normal.x +
                                              static_cast<double>(toSun.y) * normal.y +
                                              static_cast<double>(toSun.z) * normal.z);
      // Truncation toward zero; slopes turned far from the sun clamp at black rather
      // than wrapping round to bright shades.
      if (std::isfinite(cosine))
        shade = std::clamp(kBaseShade + static_cast<int>(cosine * kSunShade), 0, 255);
    }
    v.colour[0] = v.colour[1] = v.colour[2] = static_cast<unsigned char>(shade);
  }
}
