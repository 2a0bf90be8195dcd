// EsApi: filling the ES 3 function table, by name natively and from emscripten's bindings on the web
#include "platform/webgl/EsApi.h"

#include <type_traits>

#ifdef __EMSCRIPTEN__
// emscripten's WebGL 2 implementations of the ES functions, under names of their own.
#define WEBGL_ES_DECLARE(type, name) extern "C" std::remove_pointer_t<type> emscripten_gl##name;
WEBGL_ES_FUNCTIONS(WEBGL_ES_DECLARE)
#undef WEBGL_ES_DECLARE
#endif

namespace webgl {

bool LoadEsApi(ProcLoader load, EsApi* api, std::string* error) {
#ifdef __EMSCRIPTEN__
  (void)load;
  (void)error;
#define WEBGL_ES_LOAD(type, name) api->name = &emscripten_gl##name;
#else
  if (load == nullptr) {
    *error = "no ES function loader given";
    return false;
  }
#define WEBGL_ES_LOAD(type, name)                       \
  api->name = reinterpret_cast<type>(load("gl" #name)); \
  if (api->name == nullptr) {                           \
    *error = "the ES context lacks gl" #name;           \
    return false;                                       \
  }
#endif
  WEBGL_ES_FUNCTIONS(WEBGL_ES_LOAD)
#undef WEBGL_ES_LOAD
  return true;
}

}  // namespace webgl
