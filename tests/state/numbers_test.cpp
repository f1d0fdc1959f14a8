// Counts that never wrap (rounding, saturation and the figures: cases/numbers.txt, read by
// tests/media/readers_test.cpp; the random numbers' sequence: every golden game's start).
#include <gtest/gtest.h>

#include "state/progress.h"

namespace {

constexpr int32_t kMax32 = std::numeric_limits<int32_t>::max();

// Each count of a key lands in that key's tally and in the round's total;
// a code outside the table counts in the total alone; nothing wraps.
TEST(Counts, KeyTalliesAndTotalsSaturate) {
  state::RoundCounts counts;
  for (const int32_t code : {-1, 0, 255, 256}) {
    state::CountLock(counts, code);
    state::CountWrongKey(counts, code);
    state::CountFallOut(counts, code, 3);
  }
  EXPECT_EQ(counts.locks, 4);
  EXPECT_EQ(counts.wrongKeys, 4);
  EXPECT_EQ(counts.lost, 12);
  for (const std::size_t code : {std::size_t{0}, std::size_t{255}}) {
    EXPECT_EQ(counts.keys[code], (state::KeyTally{1, 1, 1})) << code;
  }
  EXPECT_EQ(counts.keys[1], state::KeyTally{});

  counts.locks = kMax32 - 1;
  counts.keys[9].wrong = kMax32 - 1;
  counts.lost = kMax32 - 2;
  for (int i = 0; i < 2; ++i) {
    state::CountLock(counts, 9);
    state::CountWrongKey(counts, 9);
    state::CountFallOut(counts, 9, 2);
  }
  EXPECT_EQ(counts.locks, kMax32);
  EXPECT_EQ(counts.keys[9], (state::KeyTally{2, kMax32, 2}));
  EXPECT_EQ(counts.lost, kMax32);
}

}  // namespace
