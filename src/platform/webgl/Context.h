// Context: one attached ES context's GL 1.1 state and the operations on it
//
// One attached ES context's GL 1.1 state and the operations of the subset that take more than a field
// assignment: immediate mode, client-array draws, textures, the attribute stacks, and the batch of geometry
// not yet handed to ES.
#pragma once

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/webgl/Batch.h"
#include "platform/webgl/Pixels.h"
#include "platform/webgl/Primitives.h"
#include "platform/webgl/Renderer.h"
#include "platform/webgl/State.h"

namespace webgl {

struct TextureParams {
  GLenum minFilter = GL_NEAREST_MIPMAP_LINEAR, magFilter = GL_LINEAR, wrapS = GL_REPEAT, wrapT = GL_REPEAT;
};

struct TextureObject {
  GLuint es = 0;  // ES name, made with the first image
  GLsizei width = 0, height = 0;
  BaseFormat base;
  TextureParams params;
  // GL 1.1 samples a texture only with an image and a filter that needs no mipmaps.
  bool Complete() const {
    return width > 0 && height > 0 && (params.minFilter == GL_NEAREST || params.minFilter == GL_LINEAR);
  }
};

class Context {
 public:
  explicit Context(std::unique_ptr<Renderer> renderer);

  State state;
  ClientState client;

  // Records the first error until glGetError takes it.
  void Error(GLenum error) {
    if (error_ == GL_NO_ERROR) error_ = error;
  }
  GLenum TakeError();
  // For calls that change state: false (and GL_INVALID_OPERATION) between glBegin and glEnd;
  // otherwise draws the pending geometry first, under the state it was specified in.
  bool BeginChange();
  bool InsideBegin() const { return insideBegin_; }
  void Flush();

  Mat4& Matrix();  // the top of the stack glMatrixMode chose
  const Mat4& Matrix(GLenum mode) const;
  size_t StackDepth(GLenum mode) const;
  void MultiplyMatrix(const Mat4& m);
  void PushMatrix();
  void PopMatrix();

  void Begin(GLenum mode);
  void AddVertex(float x, float y, float z);
  void End();
  void DrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices);

  void GenTextures(GLsizei n, GLuint* names);
  void BindTexture(GLuint name);
  void DeleteTextures(GLsizei n, const GLuint* names);
  void TexImage2D(GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                  GLenum format, GLenum type, const void* pixels);
  void TexParameter(GLenum pname, GLint value);

  void PushAttrib(GLbitfield mask);
  void PopAttrib();
  size_t AttribStackDepth() const { return attribStack_.size(); }
  void PushClientAttrib(GLbitfield mask);
  void PopClientAttrib();

  void Clear(GLbitfield mask);
  void ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void* pixels);
  // glFlush (wait false) and glFinish (wait true): the pending geometry, then ES's own.
  void Submit(bool wait);
  GLint MaxTextureSize() const { return maxTextureSize_; }

 private:
  struct SavedAttribs {
    GLbitfield mask;
    State state;
    TextureParams texture;  // the parameters of the texture bound at the push
  };
  struct SavedClient {
    GLbitfield mask;
    ClientState client;
  };

  const TextureObject* SampledTexture() const;
  Uniforms MakeUniforms(const TextureObject* texture) const;
  Pipeline MakePipeline() const;
  FaceRules MakeFaceRules() const;
  Vertex CurrentVertex(float x, float y, float z) const;
  void Queue(const std::vector<Vertex>& vertices, GLenum mode, const uint32_t* indices, size_t count);
  void QueueBatch(Batch* batch);
  TextureObject& Texture(GLuint name);
  void UpdateSampling(TextureObject* texture);

  std::unique_ptr<Renderer> renderer_;
  GLenum error_ = GL_NO_ERROR;
  GLint maxTextureSize_ = 0;
  std::array<std::vector<Mat4>, 3> stacks_;  // model-view, projection, texture
  std::vector<SavedAttribs> attribStack_;
  std::vector<SavedClient> clientStack_;
  std::unordered_map<GLuint, TextureObject> textures_;
  GLuint nextTexture_ = 1;
  bool insideBegin_ = false;
  GLenum beginMode_ = GL_POINTS;
  std::vector<Vertex> primitive_;   // the vertices since glBegin
  std::vector<uint32_t> sequence_;  // 0, 1, 2, ...: immediate mode's indices
  std::vector<uint32_t> elementIndices_;
  std::vector<Vertex> gathered_;
  Assembled assembled_;
  Batch pending_;
};

// The attached context, or null: every entry point does nothing without one.
Context* Current();

}  // namespace webgl
