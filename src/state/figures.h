// The figures derived from a round's counts: pace, accuracy, a key's miss rate.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "state/game_state.h"
#include "state/progress.h"

namespace state {

// Letters destroyed over the round's length in minutes.
inline double LettersPerMinute(int64_t destroyed) {
  return static_cast<double>(destroyed) * 60000.0 / kRoundLengthMs;
}

// Locks over locks plus wrong keys, in percent; none when no key was judged.
inline std::optional<double> AccuracyPercent(int64_t locks, int64_t wrongKeys) {
  if (locks + wrongKeys <= 0) return std::nullopt;
  return 100.0 * static_cast<double>(locks) / static_cast<double>(locks + wrongKeys);
}

// Wrong presses and lost letters over all three counts of the key; none
// when the key has no count.
inline std::optional<double> MissRate(const KeyTally& t) {
  const int64_t misses = int64_t{t.wrong} + t.lost;
  const int64_t all = misses + t.locked;
  if (all <= 0) return std::nullopt;
  return static_cast<double>(misses) / static_cast<double>(all);
}

// A figure with one decimal ("26.0"), as the history and the statistics write them.
inline std::string OneDecimal(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", v);
  return text;
}

}  // namespace state
