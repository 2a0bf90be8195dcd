// Api: helpers of the exported GL entry points (Api*.cpp), which do nothing while no context is attached
#pragma once

#include "platform/webgl/Context.h"

namespace webgl {

// Runs `change` on the attached context once pending geometry is drawn; outside glBegin/glEnd only.
template <class F>
void Change(F&& change) {
  Context* c = Current();
  if (c != nullptr && c->BeginChange()) change(*c);
}

// Runs `call` on the attached context as it is.
template <class F>
void With(F&& call) {
  Context* c = Current();
  if (c != nullptr) call(*c);
}

}  // namespace webgl
