// The result of a round as one ranking key: level, highest level and score.
#pragma once

#include <cstdint>

#include "state/arith.h"

namespace ranking {

// key = level x kLevelWeight + maxLevel x kMaxLevelWeight + score.
constexpr int32_t kLevelWeight = 10000000;
constexpr int32_t kMaxLevelWeight = 100000;

// The key of a result. Widened, then held at the 32-bit limits: a level of
// 215 or more would not fit, and a saturated key still ranks above every
// smaller result. (The levels of play are 16-bit; the history's are read
// wider.)
inline int32_t ComputeRankKey(int32_t level, int32_t maxLevel, int32_t score) {
  return state::Saturate32(int64_t{level} * kLevelWeight + int64_t{score} +
                           int64_t{maxLevel} * kMaxLevelWeight);
}

// A key taken apart the way the ranking shows it. A score of 100000 or more
// runs into the highest level's digits, as it always has.
struct RankParts {
  int32_t level = 0;
  int32_t maxLevel = 0;
  int32_t score = 0;
};
inline RankParts SplitRankKey(int32_t key) {
  const int32_t rest = key % kLevelWeight;
  return {key / kLevelWeight, rest / kMaxLevelWeight, rest % kMaxLevelWeight};
}

}  // namespace ranking
