// Test support: drawing in GL feedback mode and reading the buffer back as polygons and lines
#pragma once

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

// Runs `draw` in GL_FEEDBACK mode (GL_3D_COLOR_TEXTURE) and returns the raw buffer. A buffer too
// small for what was drawn fails the test instead of passing for an empty picture.
std::vector<float> CaptureFeedback(const std::function<void()>& draw, size_t capacity = 1 << 16);

// What `draw` drew, in feedback order: its polygons, or its line segments; the rest is skipped. An
// unknown token or a cut record fails the test and ends the parse.
std::vector<FeedbackPolygon> CapturePolygons(const std::function<void()>& draw, size_t capacity = 1 << 16);
std::vector<FeedbackLine> CaptureLines(const std::function<void()>& draw, size_t capacity = 1 << 16);

// Quads drawn with GL_QUADS, as their four corners in the order they were given. A quad comes
// back either as one four-vertex polygon or as the triangles (a, b, d), (b, c, d). Returns
// false when the polygons do not pair up that way.
bool JoinQuads(const std::vector<FeedbackPolygon>& polygons,
               std::vector<std::array<FeedbackVertex, 4>>& quads);

}  // namespace testsupport
