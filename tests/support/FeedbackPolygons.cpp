// Test support: GL feedback capture and its parser
#include "support/FeedbackPolygons.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace testsupport {

namespace {

constexpr std::size_t kVertexFloats = 11;  // x y z, r g b a, s t r q

FeedbackVertex ReadVertex(const float* p) {
  return {p[0], p[1], p[2], {p[3], p[4], p[5], p[6]}, {p[7], p[8], p[9], p[10]}};
}

// Calls `take(token, vertices)` for each primitive of the buffer, in order.
void WalkFeedback(const std::vector<float>& buffer,
                  const std::function<void(int, const FeedbackPolygon&)>& take) {
  std::size_t i = 0;
  while (i < buffer.size()) {
    const int token = static_cast<int>(buffer[i++]);
    std::size_t count = 0;
    if (token == GL_PASS_THROUGH_TOKEN) {
      ++i;
      continue;
    } else if (token == GL_POLYGON_TOKEN && i < buffer.size()) {
      count = static_cast<std::size_t>(buffer[i++]);
    } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
      count = 2;
    } else if (token == GL_POINT_TOKEN || token == GL_BITMAP_TOKEN || token == GL_DRAW_PIXEL_TOKEN ||
               token == GL_COPY_PIXEL_TOKEN) {
      count = 1;
    } else {
      ADD_FAILURE() << "unknown feedback token " << token << " at " << i - 1;
      return;
    }
    if (i + count * kVertexFloats > buffer.size()) {
      ADD_FAILURE() << "feedback record cut short at " << i;
      return;
    }
    FeedbackPolygon vertices;
    for (std::size_t k = 0; k < count; ++k) vertices.push_back(ReadVertex(&buffer[i + k * kVertexFloats]));
    take(token, vertices);
    i += count * kVertexFloats;
  }
}

bool SamePosition(const FeedbackVertex& a, const FeedbackVertex& b) { return a.x == b.x && a.y == b.y; }

}  // namespace

std::vector<float> CaptureFeedback(const std::function<void()>& draw, size_t capacity) {
  std::vector<float> buffer(capacity);
  glFeedbackBuffer(static_cast<GLsizei>(capacity), GL_3D_COLOR_TEXTURE, buffer.data());
  glRenderMode(GL_FEEDBACK);
  draw();
  const GLint used = glRenderMode(GL_RENDER);
  EXPECT_GE(used, 0) << "feedback buffer of " << capacity << " floats overflowed";
  buffer.resize(used > 0 ? static_cast<size_t>(used) : 0);
  return buffer;
}

std::vector<FeedbackPolygon> CapturePolygons(const std::function<void()>& draw, size_t capacity) {
  std::vector<FeedbackPolygon> polygons;
  WalkFeedback(CaptureFeedback(draw, capacity), [&](int token, const FeedbackPolygon& vertices) {
    if (token == GL_POLYGON_TOKEN) polygons.push_back(vertices);
  });
  return polygons;
}

std::vector<FeedbackLine> CaptureLines(const std::function<void()>& draw, size_t capacity) {
  std::vector<FeedbackLine> lines;
  WalkFeedback(CaptureFeedback(draw, capacity), [&](int token, const FeedbackPolygon& vertices) {
    if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) lines.push_back({vertices[0], vertices[1]});
  });
  return lines;
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
