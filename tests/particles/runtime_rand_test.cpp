// The runtime generator: the classic C runtime sequence from state 1, independent instances.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "particles/RuntimeRand.h"

namespace {

TEST(RuntimeRand, FollowsTheLinearCongruentialRecurrenceFromStateOne) {
  RuntimeRand rand;
  EXPECT_EQ(rand.State(), 1u);
  uint64_t state = 1;
  for (int i = 0; i < 1000; ++i) {
    state = (state * 214013 + 2531011) % (uint64_t{1} << 32);
    ASSERT_EQ(rand.Next(), static_cast<int>((state >> 16) & 0x7FFF)) << "draw " << i;
    ASSERT_EQ(rand.State(), state);
  }
}

TEST(RuntimeRand, StartsWithTheWellKnownRuntimeValues) {
  // The first draws of the Microsoft C runtime's unseeded rand().
  RuntimeRand rand;
  const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
  for (int value : expected) EXPECT_EQ(rand.Next(), value);
}

TEST(RuntimeRand, InstancesAreIndependentAndCopiesReplay) {
  RuntimeRand a, b;
  a.Next();
  a.Next();
  RuntimeRand copy = a;
  EXPECT_EQ(b.Next(), 41);  // b is untouched by a
  EXPECT_EQ(copy.Next(), a.Next());
  int low = RuntimeRand::kMax, high = 0;
  for (int i = 0; i < 100000; ++i) {
    const int v = a.Next();
    low = std::min(low, v), high = std::max(high, v);
  }
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, RuntimeRand::kMax);
}

}  // namespace
