// Renderer: buffers, textures and ES state. Every draw streams its batch into one vertex and
// one index buffer (client arrays do not exist in WebGL) and sets only the ES state that changed.
#include "platform/webgl/Renderer.h"

#include <cstddef>

namespace webgl {

std::unique_ptr<Renderer> Renderer::Create(ProcLoader load, std::string* error) {
  std::unique_ptr<Renderer> renderer(new Renderer());
  if (!LoadEsApi(load, &renderer->es_, error) || !renderer->Build(error)) return nullptr;
  return renderer;
}

bool Renderer::Build(std::string* error) {
  program_ = BuildProgram(es_, error);
  if (program_ == 0) return false;
  es_.UseProgram(program_);
  es_.Uniform1i(es_.GetUniformLocation(program_, "uTexture"), 0);
  const GLuint block = es_.GetUniformBlockIndex(program_, "Fixed");
  if (block == GL_INVALID_INDEX) {
    *error = "shader: no uniform block";
    return false;
  }
  es_.UniformBlockBinding(program_, block, 0);
  es_.GenBuffers(1, &uniformBuffer_);
  es_.BindBufferBase(GL_UNIFORM_BUFFER, 0, uniformBuffer_);
  es_.GenVertexArrays(1, &vertexArray_);
  es_.BindVertexArray(vertexArray_);
  es_.GenBuffers(1, &vertexBuffer_);
  es_.GenBuffers(1, &indexBuffer_);
  es_.BindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
  es_.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
  struct Attribute {
    GLint size;
    GLenum type;
    GLboolean normalized;
    size_t offset;
  };
  const Attribute attributes[] = {{3, GL_FLOAT, GL_FALSE, offsetof(Vertex, position)},
                                  {2, GL_FLOAT, GL_FALSE, offsetof(Vertex, texCoord)},
                                  {3, GL_FLOAT, GL_FALSE, offsetof(Vertex, normal)},
                                  {4, GL_FLOAT, GL_FALSE, offsetof(Vertex, color)}};
  for (GLuint i = 0; i < 4; ++i) {
    es_.EnableVertexAttribArray(i);
    es_.VertexAttribPointer(i, attributes[i].size, attributes[i].type, attributes[i].normalized,
                            sizeof(Vertex), reinterpret_cast<const void*>(attributes[i].offset));
  }
  // The layer lays pixels out itself; ES gets them tightly packed. Mesa does not dither.
  es_.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
  es_.PixelStorei(GL_PACK_ALIGNMENT, 1);
  es_.Disable(GL_DITHER);
  applied_ = Pipeline{};
  applied_.viewport = DrawableViewport();
  applied_.scissor = applied_.viewport;
  return true;
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
  Apply(pipeline);
  es_.BindBuffer(GL_UNIFORM_BUFFER, uniformBuffer_);
  es_.BufferData(GL_UNIFORM_BUFFER, sizeof uniforms, &uniforms, GL_STREAM_DRAW);
  if (uniforms.texturing) es_.BindTexture(GL_TEXTURE_2D, texture);
  es_.BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(batch.vertices.size() * sizeof(Vertex)),
                 batch.vertices.data(), GL_STREAM_DRAW);
  es_.BufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(batch.indices.size() * sizeof(uint32_t)),
                 batch.indices.data(), GL_STREAM_DRAW);
  es_.DrawElements(batch.primitive, static_cast<GLsizei>(batch.indices.size()), GL_UNSIGNED_INT, nullptr);
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
