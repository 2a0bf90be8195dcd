// Primitives: GL primitives decomposed as Mesa decomposes them
//
// The decomposition Mesa makes, so that colours, texture coordinates, flat shading and wireframes come out as
// in the native build. A quad (a, b, c, d) becomes (a, b, d) and (b, c, d) (d gives a flat quad its colour),
// except that smooth quads drawn wholly inside the clip volume are split along a c, as Mesa's unclipped path
// does. A quad strip's quads are split between their first and last vertex; a polygon is a fan around its
// first vertex, which comes last in each triangle; strips turn every other triangle round.
#include "platform/webgl/Primitives.h"

#include <cmath>

namespace webgl {
namespace {

// Which sides of a triangle (v0 v1, v1 v2, v2 v0) are sides of the polygon it came from.
constexpr unsigned kSide01 = 1, kSide12 = 2, kSide20 = 4, kAllSides = 7;

// Calls tri(a, b, c, sides), line(a, b) and point(a) with positions in the index list.
template <class Tri, class Line, class Point>
void Decompose(GLenum mode, size_t n, bool quadsAlongAC, const Tri& tri, const Line& line,
               const Point& point) {
  auto quad = [&tri](size_t a, size_t b, size_t c, size_t d) {
    tri(a, b, d, kSide01 | kSide20);
    tri(b, c, d, kSide01 | kSide12);
  };
  switch (mode) {
    case GL_POINTS:
      for (size_t i = 0; i < n; ++i) point(i);
      break;
    case GL_LINES:
      for (size_t i = 0; i + 1 < n; i += 2) line(i, i + 1);
      break;
    case GL_LINE_STRIP:
    case GL_LINE_LOOP:
      for (size_t i = 0; i + 1 < n; ++i) line(i, i + 1);
      if (mode == GL_LINE_LOOP && n >= 2) line(n - 1, 0);
      break;
    case GL_TRIANGLES:
      for (size_t i = 0; i + 2 < n; i += 3) tri(i, i + 1, i + 2, kAllSides);
      break;
    case GL_TRIANGLE_STRIP:
      for (size_t i = 0; i + 2 < n; ++i) {
        if (i % 2 == 0)
          tri(i, i + 1, i + 2, kAllSides);
        else
          tri(i + 1, i, i + 2, kAllSides);
      }
      break;
    case GL_TRIANGLE_FAN:
      for (size_t i = 1; i + 1 < n; ++i) tri(0, i, i + 1, kAllSides);
      break;
    case GL_QUADS:
      for (size_t i = 0; i + 3 < n; i += 4) {
        if (quadsAlongAC)
          quad(i + 1, i + 2, i + 3, i);
        else
          quad(i, i + 1, i + 2, i + 3);
      }
      break;
    case GL_QUAD_STRIP:
      for (size_t i = 0; i + 3 < n; i += 2) quad(i + 2, i, i + 1, i + 3);
      break;
    case GL_POLYGON:
      for (size_t i = 0; i + 2 < n; ++i) {
        tri(i + 1, i + 2, 0, kSide01 | (i + 3 == n ? kSide12 : 0) | (i == 0 ? kSide20 : 0));
      }
      break;
    default:
      break;
  }
}

// Twice the signed area of a triangle's projection, from clip coordinates (positive when
// counter-clockwise); the sign holds for triangles that cross the eye plane too.
float Orientation(const Vec4& a, const Vec4& b, const Vec4& c) {
  return a[0] * (b[1] * c[3] - c[1] * b[3]) - a[1] * (b[0] * c[3] - c[0] * b[3]) +
         a[3] * (b[0] * c[1] - c[0] * b[1]);
}

// Writes one output batch: the source vertices are copied in once, at first use, so that
// indices can refer to them; flat-shaded wireframes copy vertices with the polygon's colour.
class Output {
 public:
  Output(Batch* batch, unsigned primitive, const std::vector<Vertex>& source)
      : batch_(batch), source_(source) {
    batch_->primitive = primitive;
  }
  void Add(uint32_t vertex) {
    if (!copied_) {
      base_ = static_cast<uint32_t>(batch_->vertices.size());
      batch_->vertices.insert(batch_->vertices.end(), source_.begin(), source_.end());
      copied_ = true;
    }
    batch_->indices.push_back(base_ + vertex);
  }
  void AddColoured(uint32_t vertex, const float color[4]) {
    Vertex v = source_[vertex];
    for (int k = 0; k < 4; ++k) v.color[k] = color[k];
    batch_->indices.push_back(static_cast<uint32_t>(batch_->vertices.size()));
    batch_->vertices.push_back(v);
  }

 private:
  Batch* batch_;
  const std::vector<Vertex>& source_;
  bool copied_ = false;
  uint32_t base_ = 0;
};

class Assembler {
 public:
  Assembler(GLenum mode, const std::vector<Vertex>& vertices, const uint32_t* indices, const FaceRules& rules,
            Assembled* out)
      : vertices_(vertices),
        indices_(indices),
        rules_(rules),
        triangles_(&out->triangles, GL_TRIANGLES, vertices),
        lines_(&out->lines, GL_LINES, vertices),
        points_(&out->points, GL_POINTS, vertices) {
    unfilled_ = rules.frontMode != GL_FILL || rules.backMode != GL_FILL;
    const bool smoothQuads = mode == GL_QUADS && !rules.flat;
    if (!unfilled_ && !smoothQuads) return;
    clip_.reserve(vertices.size());
    for (const Vertex& v : vertices) {
      const Vec4 c = Transform(rules.mvp, {v.position[0], v.position[1], v.position[2], 1.0f});
      clipped_ = clipped_ || std::abs(c[0]) > c[3] || std::abs(c[1]) > c[3] || std::abs(c[2]) > c[3];
      clip_.push_back(c);
    }
    quadsAlongAC_ = smoothQuads && !clipped_;
  }

  bool QuadsAlongAC() const { return quadsAlongAC_; }

  void Triangle(size_t a, size_t b, size_t c, unsigned sides) {
    const uint32_t v[3] = {indices_[a], indices_[b], indices_[c]};
    if (!unfilled_) {
      for (uint32_t i : v) triangles_.Add(i);
      return;
    }
    const float area = Orientation(clip_[v[0]], clip_[v[1]], clip_[v[2]]);
    const bool front = (area > 0) == (rules_.frontFace == GL_CCW);
    if (rules_.cull &&
        (area == 0 || rules_.cullMode == GL_FRONT_AND_BACK || (rules_.cullMode == GL_FRONT) == front)) {
      return;
    }
    const GLenum mode = front ? rules_.frontMode : rules_.backMode;
    const float* color = vertices_[v[2]].color;  // the provoking vertex is last
    if (mode == GL_FILL) {
      for (uint32_t i : v) triangles_.Add(i);
    } else if (mode == GL_LINE) {
      for (int k : {2, 0, 1}) {
        if (sides & (1u << k)) Edge(v[k], v[(k + 1) % 3], color);
      }
    } else {
      for (uint32_t i : v) Dot(i, color);
    }
  }

  void Line(size_t a, size_t b) {
    lines_.Add(indices_[a]);
    lines_.Add(indices_[b]);
  }

  void Point(size_t a) { points_.Add(indices_[a]); }

 private:
  void Edge(uint32_t from, uint32_t to, const float color[4]) {
    if (!rules_.flat) {
      lines_.Add(from);
      lines_.Add(to);
      return;
    }
    lines_.AddColoured(from, color);
    lines_.AddColoured(to, color);
  }

  void Dot(uint32_t vertex, const float color[4]) {
    if (rules_.flat)
      points_.AddColoured(vertex, color);
    else
      points_.Add(vertex);
  }

  const std::vector<Vertex>& vertices_;
  const uint32_t* indices_;
  const FaceRules& rules_;
  bool unfilled_ = false;
  bool clipped_ = false;  // a vertex lies outside the clip volume
  bool quadsAlongAC_ = false;
  std::vector<Vec4> clip_;
  Output triangles_, lines_, points_;
};

}  // namespace

void Batch::Append(const Batch& other) {
  const auto base = static_cast<uint32_t>(vertices.size());
  vertices.insert(vertices.end(), other.vertices.begin(), other.vertices.end());
  indices.reserve(indices.size() + other.indices.size());
  for (uint32_t i : other.indices) indices.push_back(base + i);
}

bool IsPrimitiveMode(GLenum mode) { return mode <= GL_POLYGON; }

void Assemble(GLenum mode, const std::vector<Vertex>& vertices, const uint32_t* indices, size_t count,
              const FaceRules& rules, Assembled* out) {
  out->triangles.Clear();
  out->lines.Clear();
  out->points.Clear();
  Assembler assembler(mode, vertices, indices, rules, out);
  Decompose(
      mode, count, assembler.QuadsAlongAC(),
      [&](size_t a, size_t b, size_t c, unsigned sides) { assembler.Triangle(a, b, c, sides); },
      [&](size_t a, size_t b) { assembler.Line(a, b); }, [&](size_t a) { assembler.Point(a); });
}

}  // namespace webgl
