// Cxx20Compat: the few C++20 library pieces the engine uses that emscripten 3.1.6's libc++ lacks
//
// Included before every source file of the browser build.
#pragma once

#ifdef __cplusplus
#include <memory>
#include <type_traits>

#if !defined(__cpp_lib_smart_ptr_for_overwrite)
namespace std {
// Array form only: the engine allocates pixel buffers it fills at once.
template <class T>
requires is_unbounded_array_v<T> unique_ptr<T> make_unique_for_overwrite(size_t count) {
  return unique_ptr<T>(new remove_extent_t<T>[count]);
}
}  // namespace std
#endif
#endif
