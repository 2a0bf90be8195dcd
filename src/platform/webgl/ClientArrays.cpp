// ClientArrays: glDrawElements over client memory
//
// WebGL cannot read client arrays, so the vertices the indices reach (from the lowest to the highest) are
// gathered into the layer's vertex format, disabled arrays standing in with the current values, and sent with
// the draw.
#include <algorithm>
#include <cstring>

#include "platform/webgl/Context.h"

namespace webgl {
namespace {

const uint8_t* Element(const ClientArray& array, size_t componentBytes, uint32_t i) {
  const size_t stride = array.stride != 0 ? static_cast<size_t>(array.stride)
                                          : static_cast<size_t>(array.size) * componentBytes;
  return static_cast<const uint8_t*>(array.pointer) + stride * i;
}

void ReadFloats(const ClientArray& array, uint32_t i, float* out) {
  std::memcpy(out, Element(array, sizeof(float), i), static_cast<size_t>(array.size) * sizeof(float));
}

void ReadColor(const ClientArray& array, uint32_t i, float out[4]) {
  out[3] = 1.0f;
  if (array.type == GL_FLOAT) return ReadFloats(array, i, out);
  const uint8_t* bytes = Element(array, 1, i);
  for (GLint k = 0; k < array.size; ++k) out[k] = static_cast<float>(bytes[k]) / 255.0f;
}

template <class T>
void ReadIndices(const void* indices, GLsizei count, std::vector<uint32_t>* out) {
  const T* in = static_cast<const T*>(indices);
  out->assign(in, in + count);
}

}  // namespace

void Context::DrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) {
  if (InsideBegin()) return Error(GL_INVALID_OPERATION);
  if (!IsPrimitiveMode(mode)) return Error(GL_INVALID_ENUM);
  if (count < 0) return Error(GL_INVALID_VALUE);
  switch (type) {
    case GL_UNSIGNED_BYTE:
      ReadIndices<uint8_t>(indices, count, &elementIndices_);
      break;
    case GL_UNSIGNED_SHORT:
      ReadIndices<uint16_t>(indices, count, &elementIndices_);
      break;
    case GL_UNSIGNED_INT:
      ReadIndices<uint32_t>(indices, count, &elementIndices_);
      break;
    default:
      return Error(GL_INVALID_ENUM);
  }
  // Without the vertex array there is nothing to draw.
  if (count == 0 || !client.vertex.enabled) return;
  const auto [low, high] = std::minmax_element(elementIndices_.begin(), elementIndices_.end());
  const uint32_t first = *low, last = *high;
  const Vertex current = CurrentVertex(0, 0, 0);
  gathered_.assign(static_cast<size_t>(last - first) + 1, current);
  for (uint32_t i = first; i <= last; ++i) {
    Vertex& v = gathered_[i - first];
    float position[3] = {0, 0, 0};
    ReadFloats(client.vertex, i, position);
    std::memcpy(v.position, position, sizeof position);
    if (client.color.enabled) ReadColor(client.color, i, v.color);
    if (client.texCoord.enabled) {
      v.texCoord[1] = 0;
      ReadFloats(client.texCoord, i, v.texCoord);
    }
  }
  for (uint32_t& i : elementIndices_) i -= first;
  Queue(gathered_, mode, elementIndices_.data(), elementIndices_.size());
}

}  // namespace webgl
