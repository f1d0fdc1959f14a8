// The state's numbers: rounding and saturation, counts that never wrap, derived figures, the
// generator.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "state/arith.h"
#include "state/figures.h"
#include "state/progress.h"
#include "state/random.h"

namespace {

constexpr int32_t kMax32 = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin32 = std::numeric_limits<int32_t>::min();

TEST(Arith, RoundingIsHalfToEvenAndSaturatesAtTheEdges) {
  const struct {
    double v;
    int32_t rounded, floored;
  } cases[] = {
      {0.5, 0, 0},
      {1.5, 2, 1},
      {2.5, 2, 2},
      {-0.5, 0, -1},
      {-1.5, -2, -2},
      {2.4999, 2, 2},
      {2147483646.4, 2147483646, 2147483646},
      {2147483646.5, 2147483646, 2147483646},
      {2147483647.0, kMax32, kMax32},
      {1e300, kMax32, kMax32},
      {-2147483647.4, -2147483647, kMin32},
      {-2147483648.0, kMin32, kMin32},
      {-1e300, kMin32, kMin32},
      {std::nan(""), 0, 0},
      {std::numeric_limits<double>::infinity(), kMax32, kMax32},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(state::RoundHalfEven(c.v), c.rounded) << c.v;
    EXPECT_EQ(state::FloorToInt(c.v), c.floored) << c.v;
  }
}

TEST(Arith, SaturationKeepsWhatFitsAndClampsTheRest) {
  const struct {
    int64_t v;
    int16_t to16;
    int32_t to32;
  } cases[] = {
      {0, 0, 0},
      {32767, 32767, 32767},
      {32768, 32767, 32768},
      {-32768, -32768, -32768},
      {-32769, -32768, -32769},
      {int64_t{kMax32}, 32767, kMax32},
      {int64_t{kMax32} + 1, 32767, kMax32},
      {int64_t{kMin32}, -32768, kMin32},
      {int64_t{kMin32} - 1, -32768, kMin32},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(state::Saturate16(c.v), c.to16) << c.v;
    EXPECT_EQ(state::Saturate32(c.v), c.to32) << c.v;
  }
}

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

TEST(Figures, PaceAccuracyAndMissRate) {
  EXPECT_EQ(state::LettersPerMinute(60), 30.0);
  const struct {
    int64_t locks, wrong;
    std::optional<double> percent;
  } accuracy[] = {{0, 0, std::nullopt}, {0, 1, 0.0}, {1, 0, 100.0}, {3, 1, 75.0}};
  for (const auto& c : accuracy) {
    EXPECT_EQ(state::AccuracyPercent(c.locks, c.wrong), c.percent) << c.locks << "/" << c.wrong;
  }
  const struct {
    state::KeyTally t;
    std::optional<double> rate;
  } misses[] = {{{0, 0, 0}, std::nullopt}, {{1, 0, 0}, 0.0}, {{0, 1, 0}, 1.0},
                {{0, 0, 1}, 1.0},          {{2, 1, 1}, 0.5}, {{kMax32, kMax32, kMax32}, 2.0 / 3}};
  for (const auto& c : misses) EXPECT_EQ(state::MissRate(c.t), c.rate) << c.t.locked;
  EXPECT_EQ(state::OneDecimal(26.0), "26.0");
  EXPECT_EQ(state::OneDecimal(-0.25), "-0.2");
}

// xoshiro256** seeded through splitmix64: the same doubles on every machine,
// and a state taken and set again goes on where it was.
TEST(Random, TheSequenceIsFixedAndItsStateCarriesOver) {
  const struct {
    std::optional<uint64_t> seed;
    uint64_t first[3];  // the top 53 bits of the first three numbers
  } cases[] = {
      {std::nullopt, {2331939092809240, 2955390295781191, 7675952580451576}},
      {0, {5415695640260286, 6735350249106120, 927921571702396}},
      {12345, {6699628332854298, 1171346042582225, 8676945727531674}},
  };
  for (const auto& c : cases) {
    state::Random r;
    if (c.seed) r.Seed(*c.seed);
    for (const uint64_t top : c.first) {
      EXPECT_EQ(r.NextDouble(), static_cast<double>(top) * 0x1p-53)
          << (c.seed ? std::to_string(*c.seed) : "unseeded");
    }
    state::Random again;
    again.SetState(r.State());
    EXPECT_EQ(again.NextDouble(), r.NextDouble());
  }
}

}  // namespace
