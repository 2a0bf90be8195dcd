// Attach: which ES context the GL 1.1 calls go to (one at a time, as the demo has one window).
#include <memory>
#include <string>

#include "platform/webgl/Context.h"
#include "platform/webgl/Gl11.h"

namespace webgl {
namespace {

std::unique_ptr<Context>& Attached() {
  static std::unique_ptr<Context> context;
  return context;
}

std::string& Message() {
  static std::string message;
  return message;
}

}  // namespace

Context* Current() { return Attached().get(); }

bool Attach(ProcLoader load) {
  // The previous context's objects go with that context; nothing of it is called any more.
  Attached().reset();
  Message().clear();
  std::unique_ptr<Renderer> renderer = Renderer::Create(load, &Message());
  if (renderer == nullptr) return false;
  Attached() = std::make_unique<Context>(std::move(renderer));
  return true;
}

void Detach() { Attached().reset(); }

bool IsAttached() { return Current() != nullptr; }

const std::string& LastError() { return Message(); }

}  // namespace webgl
