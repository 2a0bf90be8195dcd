// Test support: drawing in GL feedback mode and reading the buffer back as polygons and lines
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <functional>
#include <vector>

namespace testsupport {

struct FeedbackVertex {
  float x = 0, y = 0, z = 0;        // window coordinates
  std::array<float, 4> color{};     // r, g, b, a
  std::array<float, 4> texCoord{};  // s, t, r, q
};

using FeedbackPolygon = std::vector<FeedbackVertex>;
using FeedbackLine = std::array<FeedbackVertex, 2>;

// Runs `draw` in GL_FEEDBACK mode (GL_3D_COLOR_TEXTURE) and calls `take(token, vertices)` for each primitive
// it drew, in order. A buffer too small for what was drawn fails the test instead of passing for an empty
// picture; an unknown token or a cut record fails the test and ends the walk.
inline void WalkFeedback(const std::function<void()>& draw, size_t capacity,
                         const std::function<void(int, const FeedbackPolygon&)>& take) {
  std::vector<float> buffer(capacity);
  glFeedbackBuffer(static_cast<GLsizei>(capacity), GL_3D_COLOR_TEXTURE, buffer.data());
  glRenderMode(GL_FEEDBACK);
  draw();
  const GLint used = glRenderMode(GL_RENDER);
  EXPECT_GE(used, 0) << "feedback buffer of " << capacity << " floats overflowed";
  buffer.resize(used > 0 ? static_cast<size_t>(used) : 0);
  constexpr std::size_t kVertexFloats = 11;  // x y z, r g b a, s t r q
  for (std::size_t i = 0; i < buffer.size();) {
    const int token = static_cast<int>(buffer[i++]);
    std::size_t count = 1;  // points, bitmaps and pixel rectangles
    if (token == GL_PASS_THROUGH_TOKEN) {
      ++i;
      continue;
    } else if (token == GL_POLYGON_TOKEN && i < buffer.size()) {
      count = static_cast<std::size_t>(buffer[i++]);
    } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
      count = 2;
    } else if (token != GL_POINT_TOKEN && token != GL_BITMAP_TOKEN && token != GL_DRAW_PIXEL_TOKEN &&
               token != GL_COPY_PIXEL_TOKEN) {
      ADD_FAILURE() << "unknown feedback token " << token << " at " << i - 1;
      return;
    }
    if (i + count * kVertexFloats > buffer.size()) {
      ADD_FAILURE() << "feedback record cut short at " << i;
      return;
    }
    FeedbackPolygon vertices;
    for (const float* p = buffer.data() + i; vertices.size() < count; p += kVertexFloats) {
      vertices.push_back({p[0], p[1], p[2], {p[3], p[4], p[5], p[6]}, {p[7], p[8], p[9], p[10]}});
    }
    take(token, vertices);
    i += count * kVertexFloats;
  }
}

// What `draw` drew, in feedback order: its polygons, or its line segments; the rest is skipped.
inline std::vector<FeedbackPolygon> CapturePolygons(const std::function<void()>& draw,
                                                    size_t capacity = 1 << 16) {
  std::vector<FeedbackPolygon> polygons;
  WalkFeedback(draw, capacity, [&](int token, const FeedbackPolygon& vertices) {
    if (token == GL_POLYGON_TOKEN) polygons.push_back(vertices);
  });
  return polygons;
}
inline std::vector<FeedbackLine> CaptureLines(const std::function<void()>& draw, size_t capacity = 1 << 16) {
  std::vector<FeedbackLine> lines;
  WalkFeedback(draw, capacity, [&](int token, const FeedbackPolygon& vertices) {
    if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) lines.push_back({vertices[0], vertices[1]});
  });
  return lines;
}

// Quads drawn with GL_QUADS, as their four corners in the order they were given. A quad comes
// back either as one four-vertex polygon or as the triangles (a, b, d), (b, c, d). Returns
// false when the polygons do not pair up that way.
inline bool JoinQuads(const std::vector<FeedbackPolygon>& polygons,
                      std::vector<std::array<FeedbackVertex, 4>>& quads) {
  const auto samePosition = [](const FeedbackVertex& a, const FeedbackVertex& b) {
    return a.x == b.x && a.y == b.y;
  };
  quads.clear();
  for (std::size_t i = 0; i < polygons.size(); ++i) {
    const FeedbackPolygon& first = polygons[i];
    if (first.size() == 4) {
      quads.push_back({first[0], first[1], first[2], first[3]});
      continue;
    }
    if (first.size() != 3 || i + 1 >= polygons.size()) return false;
    const FeedbackPolygon& second = polygons[++i];
    if (second.size() != 3 || !samePosition(second[0], first[1]) || !samePosition(second[2], first[2])) {
      return false;
    }
    quads.push_back({first[0], first[1], second[1], first[2]});
  }
  return true;
}

}  // namespace testsupport
