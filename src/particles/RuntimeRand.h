// RuntimeRand: the program's one random generator, the classic C runtime's rand
#pragma once

#include <cstdint>

// The program's one random generator, a linear congruential generator with the constants of the classic C
// runtime (state * 214013 + 2531011 mod 2^32, result bits 16..30). Starts at state 1 and is never seeded, so
// every run draws the same sequence and the particle animation repeats exactly.

class RuntimeRand {
 public:
  static constexpr int kMax = 0x7FFF;

  // Advances the state and returns a value in 0..kMax.
  int Next() {
    state_ = state_ * 214013u + 2531011u;  // wraps modulo 2^32 by unsigned arithmetic
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
  }

  uint32_t State() const { return state_; }

 private:
  uint32_t state_ = 1;
};
