// The summary of the history: averages, the chart, the key map's rounds and the weakest keys.
#include "stats/summary.h"

#include <gtest/gtest.h>

namespace {

constexpr int16_t kA = 30, kQ = 16, kZ = 44, kP = 25, kX = 45, kTab = 15;

// Rounds 1 to n: round i scores i, destroys 2i letters, locks 2i, 1 wrong key.
stats::HistoryRead History(int n) {
  stats::HistoryRead read;
  read.found = true;
  for (int i = 1; i <= n; ++i) {
    state::RoundRecord r{"2025-01-01", "10:00:00", i, 3, 3, {}};
    r.counts = {.destroyed = 2 * i, .locks = 2 * i, .wrongKeys = 1};
    read.tail.push_back(r);
  }
  read.rounds = n;
  read.best = read.tail.back();
  return read;
}

TEST(Summary, AveragesOfTheLastTenAgainstTheTenBeforeAndTheChart) {
  for (auto [rounds, chart, recent, before] :
       {std::tuple{1, 1, 1, 0}, {14, 14, 10, 4}, {40, 30, 10, 10}}) {
    const state::ProgressSummary s = stats::Summarise(History(rounds));
    EXPECT_EQ(s.chart.size(), static_cast<size_t>(chart));
    EXPECT_EQ(s.chart.back().lettersPerMinute, rounds);  // 2n letters in two minutes
    EXPECT_EQ(std::tuple(s.recent.rounds, s.before.rounds), std::tuple(recent, before));
    EXPECT_EQ(s.last->score, rounds);
  }
  const state::ProgressSummary s = stats::Summarise(History(40));
  EXPECT_DOUBLE_EQ(s.recent.score, 35.5);  // rounds 31 to 40
  EXPECT_DOUBLE_EQ(s.before.score, 25.5);  // rounds 21 to 30
  EXPECT_DOUBLE_EQ(*s.recent.accuracy, 100.0 * 710 / 720);
  EXPECT_EQ(stats::ChangeText(s.recent, s.before),
            "+10.0 points, +10.0 letters/min, +0.5% accuracy");
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
