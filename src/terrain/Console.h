// Console: the progress sink of the landscape build
#pragma once

#include <functional>
#include <string>

// It shows nothing: every line handed to Print is dropped. A tap (tests) may watch the formatted lines go by.

class Console {
 public:
  Console() = default;
  virtual ~Console() = default;

  // printf-style; the line is formatted only when a tap is set.
  void Print(const char* format, ...) __attribute__((format(printf, 2, 3)));

  std::function<void(const std::string&)> tap;
};
