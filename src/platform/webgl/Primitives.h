// Primitives: GL's ten primitive modes turned into the triangles, lines and points ES draws
//
// GL's ten primitive modes turned into the triangles, lines and points ES draws, with GL's rules for
// polygons: which vertex gives a flat-shaded primitive its colour, which edges of a decomposed polygon are
// its own, which faces are culled, and polygon modes per face.
#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/webgl/Batch.h"
#include "platform/webgl/Matrix.h"

namespace webgl {

struct FaceRules {
  GLenum frontMode = GL_FILL, backMode = GL_FILL;
  bool cull = false;
  GLenum cullMode = GL_BACK, frontFace = GL_CCW;
  bool flat = false;
  Mat4 mvp = Identity();  // clip coordinates decide which way a polygon faces
};

struct Assembled {
  Batch triangles, lines, points;
};

bool IsPrimitiveMode(GLenum mode);

// Assembles `count` vertices, numbered by `indices`, of primitive `mode` into `out` (cleared
// first). Every provoking vertex ends up last in its triangle or line, where ES takes flat
// values from. Filled polygons keep GL's culling for ES to do; polygons drawn as lines or points
// are culled here.
void Assemble(GLenum mode, const std::vector<Vertex>& vertices, const uint32_t* indices, size_t count,
              const FaceRules& rules, Assembled* out);

}  // namespace webgl
