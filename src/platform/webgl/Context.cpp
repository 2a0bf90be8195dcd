// Context: errors, batching, the matrix and attribute stacks, immediate mode, clear and read.
#include "platform/webgl/Context.h"

#include <numeric>
#include <utility>

namespace webgl {
namespace {

// Mesa's stack depths: 32 model-view and projection matrices, 10 texture matrices, 16 attribute sets.
constexpr size_t kMatrixDepth[3] = {32, 32, 10};
constexpr size_t kAttribDepth = 16;

int StackIndex(GLenum mode) { return mode == GL_PROJECTION ? 1 : mode == GL_TEXTURE ? 2 : 0; }

}  // namespace

Context::Context(std::unique_ptr<Renderer> renderer) : renderer_(std::move(renderer)) {
  for (auto& stack : stacks_) stack.assign(1, Identity());
  state.viewport = renderer_->DrawableViewport();
  state.scissor = state.viewport;
  maxTextureSize_ = renderer_->MaxTextureSize();
  textures_[0] = TextureObject{};
}

GLenum Context::TakeError() {
  const GLenum error = error_;
  error_ = GL_NO_ERROR;
  return error;
}

bool Context::BeginChange() {
  if (insideBegin_) {
    Error(GL_INVALID_OPERATION);
    return false;
  }
  Flush();
  return true;
}

void Context::Flush() {
  if (pending_.Empty()) return;
  const TextureObject* texture = SampledTexture();
  const GLuint es = texture != nullptr ? texture->es : 0;
  if (pending_.primitive == GL_LINES && state.enabled[kLineSmooth]) {
    renderer_->DrawSmoothLines(pending_, MakeUniforms(texture), es, MakePipeline());
  } else {
    renderer_->Draw(pending_, MakeUniforms(texture), es, MakePipeline());
  }
  pending_.Clear();
}

Mat4& Context::Matrix() { return stacks_[StackIndex(state.matrixMode)].back(); }

const Mat4& Context::Matrix(GLenum mode) const { return stacks_[StackIndex(mode)].back(); }

size_t Context::StackDepth(GLenum mode) const { return stacks_[StackIndex(mode)].size(); }

void Context::MultiplyMatrix(const Mat4& m) {
  if (!BeginChange()) return;
  Mat4& top = Matrix();
  top = Multiply(top, m);
}

void Context::PushMatrix() {
  if (!BeginChange()) return;
  const int i = StackIndex(state.matrixMode);
  if (stacks_[i].size() >= kMatrixDepth[i]) return Error(GL_STACK_OVERFLOW);
  stacks_[i].push_back(stacks_[i].back());
}

void Context::PopMatrix() {
  if (!BeginChange()) return;
  auto& stack = stacks_[StackIndex(state.matrixMode)];
  if (stack.size() <= 1) return Error(GL_STACK_UNDERFLOW);
  stack.pop_back();
}

void Context::Begin(GLenum mode) {
  if (insideBegin_) return Error(GL_INVALID_OPERATION);
  if (!IsPrimitiveMode(mode)) return Error(GL_INVALID_ENUM);
  insideBegin_ = true;
  beginMode_ = mode;
  primitive_.clear();
}

void Context::AddVertex(float x, float y, float z) {
  // Outside glBegin/glEnd a vertex has no effect.
  if (insideBegin_) primitive_.push_back(CurrentVertex(x, y, z));
}

void Context::End() {
  if (!insideBegin_) return Error(GL_INVALID_OPERATION);
  insideBegin_ = false;
  if (sequence_.size() < primitive_.size()) {
    const size_t from = sequence_.size();
    sequence_.resize(primitive_.size());
    std::iota(sequence_.begin() + static_cast<std::ptrdiff_t>(from), sequence_.end(),
              static_cast<uint32_t>(from));
  }
  Queue(primitive_, beginMode_, sequence_.data(), primitive_.size());
}

void Context::Queue(const std::vector<Vertex>& vertices, GLenum mode, const uint32_t* indices, size_t count) {
  Assemble(mode, vertices, indices, count, MakeFaceRules(), &assembled_);
  QueueBatch(&assembled_.triangles);
  QueueBatch(&assembled_.lines);
  QueueBatch(&assembled_.points);
}

void Context::QueueBatch(Batch* batch) {
  if (batch->Empty()) return;
  if (!pending_.Empty() && pending_.primitive != batch->primitive) Flush();
  if (pending_.Empty()) {
    std::swap(pending_, *batch);
  } else {
    pending_.Append(*batch);
  }
}

void Context::PushAttrib(GLbitfield mask) {
  if (!BeginChange()) return;
  if (attribStack_.size() >= kAttribDepth) return Error(GL_STACK_OVERFLOW);
  attribStack_.push_back({mask, state, Texture(state.texture).params});
}

void Context::PopAttrib() {
  if (!BeginChange()) return;
  if (attribStack_.empty()) return Error(GL_STACK_UNDERFLOW);
  const SavedAttribs saved = std::move(attribStack_.back());
  attribStack_.pop_back();
  if (saved.mask & GL_TEXTURE_BIT) {
    // The parameters go back to the texture that was bound at the push.
    TextureObject& texture = Texture(saved.state.texture);
    texture.params = saved.texture;
    UpdateSampling(&texture);
  }
  RestoreGroups(saved.state, saved.mask, &state);
}

void Context::PushClientAttrib(GLbitfield mask) {
  if (InsideBegin()) return Error(GL_INVALID_OPERATION);
  if (clientStack_.size() >= kAttribDepth) return Error(GL_STACK_OVERFLOW);
  clientStack_.push_back({mask, client});
}

void Context::PopClientAttrib() {
  if (InsideBegin()) return Error(GL_INVALID_OPERATION);
  if (clientStack_.empty()) return Error(GL_STACK_UNDERFLOW);
  const SavedClient saved = clientStack_.back();
  clientStack_.pop_back();
  if (saved.mask & GL_CLIENT_PIXEL_STORE_BIT) {
    client.pack = saved.client.pack;
    client.unpack = saved.client.unpack;
  }
  if (saved.mask & GL_CLIENT_VERTEX_ARRAY_BIT) {
    client.vertex = saved.client.vertex;
    client.color = saved.client.color;
    client.texCoord = saved.client.texCoord;
  }
}

void Context::Clear(GLbitfield mask) {
  if (!BeginChange()) return;
  const GLbitfield known =
      GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT | GL_ACCUM_BUFFER_BIT;
  if (mask & ~known) return Error(GL_INVALID_VALUE);
  renderer_->Clear(mask, state.clearColor, MakePipeline());
}

void Context::ReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                         void* pixels) {
  if (!BeginChange()) return;
  if (width < 0 || height < 0) return Error(GL_INVALID_VALUE);
  if ((format != GL_RGBA && format != GL_BGRA && format != GL_RGB) || type != GL_UNSIGNED_BYTE) {
    return Error(GL_INVALID_ENUM);
  }
  std::vector<uint8_t> rgba(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  renderer_->ReadPixels(x, y, width, height, rgba.data());
  PackPixels(rgba.data(), width, height, format, client.pack, pixels);
}

void Context::Submit(bool wait) {
  if (!BeginChange()) return;
  if (wait) {
    renderer_->Finish();
  } else {
    renderer_->Flush();
  }
}

}  // namespace webgl
