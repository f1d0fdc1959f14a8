// The summary of the history: the key map's rounds and the weakest keys (averages and the chart
// are golden games: tests/golden/stats_*).
#include "stats/summary.h"

#include <gtest/gtest.h>

namespace {

constexpr int16_t kA = 30, kQ = 16, kZ = 44, kP = 25, kX = 45, kTab = 15;

// Rounds 1 to n: round i scores i, destroys 2i letters, locks 2i, 1 wrong key.
stats::HistoryRead History(int n) {
  stats::HistoryRead read;
  read.found = true;
  for (int i = 1; i <= n; ++i) {
    state::RoundRecord r;
    r.date = "2025-01-01";
    r.time = "10:00:00";
    r.score = i;
    r.level = 3;
    r.maxLevel = 3;
    r.counts = {.destroyed = 2 * i, .locks = 2 * i, .wrongKeys = 1};
    read.tail.push_back(r);
  }
  read.rounds = n;
  read.best = read.tail.back();
  return read;
}

TEST(Summary, WeakestKeysOfTheLastTwentyRounds) {
  stats::HistoryRead read = History(25);
  auto& first = read.tail.front().counts.keys;  // round 1: outside the last twenty
  first[kX] = {0, 50, 0};
  auto& last = read.tail.back().counts.keys;
  last[kA] = {9, 1, 0};    // 10%
  last[kQ] = {1, 1, 0};    // 50%, one miss
  last[kZ] = {2, 1, 1};    // 50%, two misses: before Q
  last[kP] = {1, 0, 1};    // 50%, one miss, after Q on the keyboard
  last[kTab] = {0, 9, 0};  // not a key that words hold
  const state::ProgressSummary s = stats::Summarise(read);
  EXPECT_EQ(s.keys[kX], state::KeyTally{});
  EXPECT_EQ(s.weakest, (std::vector<int16_t>{kZ, kQ, kP}));
  EXPECT_EQ(stats::WeakestText(s), "Z: 50% missed, Q: 50% missed, P: 50% missed");
}

}  // namespace
