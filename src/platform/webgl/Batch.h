// Batch: vertices and indices of one primitive kind on their way to one ES draw call
//
// Vertices and indices of one primitive kind (triangles, lines or points) on their way to one ES draw call.
#pragma once

#include <cstdint>
#include <vector>

namespace webgl {

// One vertex as the shader takes it (48 bytes). Colours stay floats, as Mesa keeps them: the
// shader clamps them (after lighting), and an alpha test or lighting sees them unrounded.
struct Vertex {
  float position[3];
  float texCoord[2];
  float normal[3];
  float color[4];
};

struct Batch {
  unsigned primitive = 0;  // GL_TRIANGLES, GL_LINES or GL_POINTS (the same values in ES)
  std::vector<Vertex> vertices;
  std::vector<uint32_t> indices;

  bool Empty() const { return indices.empty(); }
  void Clear() {
    vertices.clear();
    indices.clear();
  }
  // Appends `other` (of the same primitive), renumbering its indices.
  void Append(const Batch& other);
};

}  // namespace webgl
