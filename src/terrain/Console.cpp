// Console: Print drops its line, formatting it only for a tap
#include "terrain/Console.h"

#include <cstdarg>
#include <cstdio>

void Console::Print(const char* format, ...) {
  if (!tap || format == nullptr) return;
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string line(length > 0 ? static_cast<size_t>(length) : 0, '\0');
  if (length > 0) std::vsnprintf(line.data(), line.size() + 1, format, args);
  va_end(args);
  tap(line);
}
