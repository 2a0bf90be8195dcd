// Test support: GL feedback buffers read back into polygons
#pragma once

#include <array>
#include <cstddef>
#include <vector>

namespace testsupport {

struct FeedbackVertex {
  float x = 0, y = 0, z = 0;        // window coordinates
  std::array<float, 4> color{};     // r, g, b, a
  std::array<float, 4> texCoord{};  // s, t, r, q
};

using FeedbackPolygon = std::vector<FeedbackVertex>;

// Polygons in feedback order; points, lines, pixels and pass-through markers are skipped.
// An unknown token ends the parse (the buffer is then not of the expected type).
std::vector<FeedbackPolygon> ParseFeedbackPolygons(const std::vector<float>& buffer);

// Quads drawn with GL_QUADS, as their four corners in the order they were given. A quad comes
// back either as one four-vertex polygon or as the triangles (a, b, d), (b, c, d). Returns
// false when the polygons do not pair up that way.
bool JoinQuads(const std::vector<FeedbackPolygon>& polygons,
               std::vector<std::array<FeedbackVertex, 4>>& quads);

}  // namespace testsupport
