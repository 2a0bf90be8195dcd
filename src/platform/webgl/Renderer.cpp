// Renderer: buffers, textures and ES state
//
// Every draw streams its batch into one vertex and one index buffer (client arrays do not exist in WebGL) and
// sets only the ES state that changed.
#include "platform/webgl/Renderer.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace webgl {

std::unique_ptr<Renderer> Renderer::Create(ProcLoader load, std::string* error) {
  std::unique_ptr<Renderer> renderer(new Renderer());
  if (!LoadEsApi(load, &renderer->es_, error) || !renderer->Build(error)) return nullptr;
  return renderer;
}

bool Renderer::Build(std::string* error) {
  // The plain variant, built now: a shader that does not build shows at Attach.
  if (Program(0, error) == 0) return false;
  es_.GenBuffers(1, &uniformBuffer_);
  es_.BindBufferBase(GL_UNIFORM_BUFFER, 0, uniformBuffer_);
  BuildVertexArrays();
  // The layer lays pixels out itself; ES gets them tightly packed. Mesa does not dither.
  es_.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
  es_.PixelStorei(GL_PACK_ALIGNMENT, 1);
  es_.Disable(GL_DITHER);
  applied_ = Pipeline{};
  applied_.viewport = DrawableViewport();
  applied_.scissor = applied_.viewport;
  return true;
}

// Two vertex arrays: plain vertices, and the corners of smooth lines, which add two attributes.
void Renderer::BuildVertexArrays() {
  struct Attribute {
    GLint size;
    size_t offset;
  };
  const Attribute attributes[] = {{3, offsetof(Vertex, position)},  {2, offsetof(Vertex, texCoord)},
                                  {3, offsetof(Vertex, normal)},    {4, offsetof(Vertex, color)},
                                  {3, offsetof(LineCorner, other)}, {2, offsetof(LineCorner, corner)}};
  for (const bool line : {false, true}) {
    GLuint& array = line ? lineArray_ : vertexArray_;
    GLuint& vertices = line ? lineBuffer_ : vertexBuffer_;
    GLuint& indices = line ? lineIndexBuffer_ : indexBuffer_;
    es_.GenVertexArrays(1, &array);
    es_.BindVertexArray(array);
    es_.GenBuffers(1, &vertices);
    es_.GenBuffers(1, &indices);
    es_.BindBuffer(GL_ARRAY_BUFFER, vertices);
    es_.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices);
    const GLsizei stride = line ? sizeof(LineCorner) : sizeof(Vertex);
    for (GLuint i = 0; i < (line ? 6u : 4u); ++i) {
      es_.EnableVertexAttribArray(i);
      es_.VertexAttribPointer(i, attributes[i].size, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<const void*>(attributes[i].offset));
    }
  }
}

GLuint Renderer::Program(unsigned features, std::string* error) {
  GLuint& program = programs_[features];
  if (program != 0) return program;
  program = BuildProgram(es_, features, error);
  if (program == 0) return 0;
  es_.UseProgram(program);
  es_.Uniform1i(es_.GetUniformLocation(program, "uTexture"), 0);
  es_.UniformBlockBinding(program, es_.GetUniformBlockIndex(program, "Fixed"), 0);
  program_ = program;
  return program;
}

void Renderer::Toggle(GLenum cap, bool on, bool was) {
  if (on == was) return;
  if (on)
    es_.Enable(cap);
  else
    es_.Disable(cap);
}

void Renderer::Apply(const Pipeline& p) {
  const Pipeline& a = applied_;
  Toggle(GL_BLEND, p.blend, a.blend);
  if (p.blendSrc != a.blendSrc || p.blendDst != a.blendDst) es_.BlendFunc(p.blendSrc, p.blendDst);
  Toggle(GL_DEPTH_TEST, p.depthTest, a.depthTest);
  Toggle(GL_CULL_FACE, p.cullFace, a.cullFace);
  if (p.cullMode != a.cullMode) es_.CullFace(p.cullMode);
  if (p.frontFace != a.frontFace) es_.FrontFace(p.frontFace);
  Toggle(GL_SCISSOR_TEST, p.scissorTest, a.scissorTest);
  if (p.scissor != a.scissor) es_.Scissor(p.scissor[0], p.scissor[1], p.scissor[2], p.scissor[3]);
  if (p.viewport != a.viewport) es_.Viewport(p.viewport[0], p.viewport[1], p.viewport[2], p.viewport[3]);
  applied_ = p;
}

void Renderer::Draw(const Batch& batch, const Uniforms& uniforms, GLuint texture, const Pipeline& pipeline) {
  if (batch.Empty()) return;
  es_.BindVertexArray(vertexArray_);
  es_.BindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);  // not part of the vertex array's state
  Submit(batch.primitive, batch.vertices.size() * sizeof(Vertex), batch.vertices.data(), batch.indices,
         uniforms, texture, pipeline);
}

void Renderer::DrawSmoothLines(const Batch& lines, Uniforms uniforms, GLuint texture, Pipeline pipeline) {
  if (lines.Empty()) return;
  corners_.clear();
  cornerIndices_.clear();
  for (size_t i = 0; i + 1 < lines.indices.size(); i += 2) {
    const Vertex& a = lines.vertices[lines.indices[i]];
    Vertex b = lines.vertices[lines.indices[i + 1]];
    Vertex first = a;
    // The second end gives a flat-shaded line its colour, over the whole quad.
    if (uniforms.flat) std::copy(std::begin(b.color), std::end(b.color), std::begin(first.color));
    const auto base = static_cast<uint32_t>(corners_.size());
    for (float across : {1.0f, -1.0f})
      corners_.push_back({first, {b.position[0], b.position[1], b.position[2]}, {across, -1}});
    for (float across : {1.0f, -1.0f})
      corners_.push_back({b, {a.position[0], a.position[1], a.position[2]}, {across, 1}});
    for (uint32_t k : {2u, 1u, 0u, 3u, 1u, 2u}) cornerIndices_.push_back(base + k);
  }
  uniforms.smoothLines = 1;
  for (int k = 0; k < 4; ++k)
    uniforms.viewport[k] = static_cast<float>(pipeline.viewport[static_cast<size_t>(k)]);
  pipeline.cullFace = false;
  es_.BindVertexArray(lineArray_);
  es_.BindBuffer(GL_ARRAY_BUFFER, lineBuffer_);
  Submit(GL_TRIANGLES, corners_.size() * sizeof(LineCorner), corners_.data(), cornerIndices_, uniforms,
         texture, pipeline);
}

void Renderer::Submit(GLenum primitive, size_t vertexBytes, const void* vertices,
                      const std::vector<uint32_t>& indices, const Uniforms& uniforms, GLuint texture,
                      const Pipeline& pipeline) {
  const unsigned features =
      (uniforms.lighting ? kLightingFeature : 0) | (uniforms.texturing ? kTexturingFeature : 0) |
      (uniforms.flat ? kFlatFeature : 0) | (uniforms.alphaFunc != GL_ALWAYS ? kAlphaTestFeature : 0) |
      (uniforms.smoothLines ? kSmoothLinesFeature : 0);
  std::string error;
  const GLuint program = Program(features, &error);
  if (program == 0) return;  // the plain variant built, so this fails only with the context
  if (program != program_) {
    es_.UseProgram(program);
    program_ = program;
  }
  Apply(pipeline);
  es_.BindBuffer(GL_UNIFORM_BUFFER, uniformBuffer_);
  es_.BufferData(GL_UNIFORM_BUFFER, sizeof uniforms, &uniforms, GL_STREAM_DRAW);
  if (uniforms.texturing) es_.BindTexture(GL_TEXTURE_2D, texture);
  es_.BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertexBytes), vertices, GL_STREAM_DRAW);
  es_.BufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(uint32_t)),
                 indices.data(), GL_STREAM_DRAW);
  es_.DrawElements(primitive, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT, nullptr);
}

void Renderer::Clear(GLbitfield mask, const std::array<float, 4>& color, const Pipeline& pipeline) {
  Apply(pipeline);
  es_.ClearColor(color[0], color[1], color[2], color[3]);
  es_.Clear(mask & (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT));
}

void Renderer::ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, uint8_t* rgba) {
  es_.ReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

GLuint Renderer::CreateTexture() {
  GLuint texture = 0;
  es_.GenTextures(1, &texture);
  return texture;
}

void Renderer::DeleteTexture(GLuint texture) { es_.DeleteTextures(1, &texture); }

void Renderer::UploadTexture(GLuint texture, GLsizei width, GLsizei height, const uint8_t* rgba) {
  es_.BindTexture(GL_TEXTURE_2D, texture);
  es_.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

void Renderer::SetSampling(GLuint texture, const Sampling& sampling) {
  es_.BindTexture(GL_TEXTURE_2D, texture);
  es_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(sampling.minFilter));
  es_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(sampling.magFilter));
  es_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(sampling.wrapS));
  es_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(sampling.wrapT));
}

std::array<GLint, 4> Renderer::DrawableViewport() {
  std::array<GLint, 4> viewport{};
  es_.GetIntegerv(GL_VIEWPORT, viewport.data());
  return viewport;
}

GLint Renderer::MaxTextureSize() {
  GLint size = 0;
  es_.GetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
  return size;
}

}  // namespace webgl
