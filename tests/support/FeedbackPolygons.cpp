// Test support: reading GL feedback buffers back into polygons
#include "support/FeedbackPolygons.h"

#include <GL/gl.h>

#include <cstddef>

namespace testsupport {

namespace {

constexpr std::size_t VertexFloats = 11;  // x y z, r g b a, s t r q

FeedbackVertex ReadVertex(const float* p) {
  FeedbackVertex v;
  v.x = p[0];
  v.y = p[1];
  v.z = p[2];
  v.color = {p[3], p[4], p[5], p[6]};
  v.texCoord = {p[7], p[8], p[9], p[10]};
  return v;
}

bool SamePosition(const FeedbackVertex& a, const FeedbackVertex& b) { return a.x == b.x && a.y == b.y; }

}  // namespace

std::vector<FeedbackPolygon> ParseFeedbackPolygons(const std::vector<float>& buffer) {
  std::vector<FeedbackPolygon> polygons;
  std::size_t i = 0;
  while (i < buffer.size()) {
    const int token = static_cast<int>(buffer[i++]);
    std::size_t vertices = 0;
    switch (token) {
      case GL_POLYGON_TOKEN: {
        if (i >= buffer.size()) return polygons;
        const std::size_t count = static_cast<std::size_t>(buffer[i++]);
        if (i + count * VertexFloats > buffer.size()) return polygons;
        FeedbackPolygon polygon;
        for (std::size_t k = 0; k < count; ++k) polygon.push_back(ReadVertex(&buffer[i + k * VertexFloats]));
        polygons.push_back(polygon);
        i += count * VertexFloats;
        continue;
      }
      case GL_POINT_TOKEN:
      case GL_BITMAP_TOKEN:
      case GL_DRAW_PIXEL_TOKEN:
      case GL_COPY_PIXEL_TOKEN:
        vertices = 1;
        break;
      case GL_LINE_TOKEN:
      case GL_LINE_RESET_TOKEN:
        vertices = 2;
        break;
      case GL_PASS_THROUGH_TOKEN:
        i += 1;
        continue;
      default:
        return polygons;
    }
    i += vertices * VertexFloats;
  }
  return polygons;
}

bool JoinQuads(const std::vector<FeedbackPolygon>& polygons,
               std::vector<std::array<FeedbackVertex, 4>>& quads) {
  quads.clear();
  for (std::size_t i = 0; i < polygons.size(); ++i) {
    const FeedbackPolygon& first = polygons[i];
    if (first.size() == 4) {
      quads.push_back({first[0], first[1], first[2], first[3]});
      continue;
    }
    if (first.size() != 3 || i + 1 >= polygons.size()) return false;
    const FeedbackPolygon& second = polygons[++i];
    if (second.size() != 3 || !SamePosition(second[0], first[1]) || !SamePosition(second[2], first[2])) {
      return false;
    }
    quads.push_back({first[0], first[1], second[1], first[2]});
  }
  return true;
}

}  // namespace testsupport
