// What the game counts of each round, and the figures of the statistics screen.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "state/arith.h"

namespace state {

// Key codes are one byte; per-key counts are kept for every code.
constexpr int kKeyCodes = 256;

struct KeyTally {
  int32_t locked = 0;  // letters of this key locked
  int32_t wrong = 0;   // presses of this key that matched no letter
  int32_t lost = 0;    // letters of this key that fell out at the bottom
  bool operator==(const KeyTally&) const = default;
};

using KeyTallies = std::array<KeyTally, kKeyCodes>;

// The counts of one round, from its first play frame to its end.
struct RoundCounts {
  int32_t destroyed = 0;  // letters destroyed by the shot
  int32_t locks = 0;
  int32_t wrongKeys = 0;
  int32_t lost = 0;  // letters cleared by fall-outs, the fallen ones with the rest
  int32_t shots = 0;
  KeyTallies keys{};
  bool operator==(const RoundCounts&) const = default;
};

// One finished round, as a line of the history keeps it.
struct RoundRecord {
  std::string date;  // local, YYYY-MM-DD
  std::string time;  // local, HH:MM:SS
  int32_t score = 0;
  int32_t level = 0;
  int32_t maxLevel = 0;
  RoundCounts counts;
  std::string list;       // the word list's name; empty: the game folder's rapdata.ini
  std::string listId;     // which file, for a list played by its path (Choices::listId)
  bool practice = false;  // played with practice on
  bool operator==(const RoundRecord&) const = default;
};

// A round's pace and aim as the chart shows them.
struct ChartPoint {
  double lettersPerMinute = 0.0;
  std::optional<double> accuracy;  // percent; none when no key was judged
};

// Averages over a run of rounds.
struct Averages {
  int32_t rounds = 0;
  double score = 0.0;
  double lettersPerMinute = 0.0;
  std::optional<double> accuracy;  // over all locks and wrong keys of the run
};

// The statistics that the screen and `--stats` show, read from the history.
struct ProgressSummary {
  int32_t rounds = 0;  // rounds in the history
  int32_t damagedLines = 0;
  std::optional<RoundRecord> last;
  std::optional<RoundRecord> best;  // as the ranking ranks; the earlier round on a tie
  std::vector<ChartPoint> chart;    // the last rounds, oldest first
  Averages recent;                  // the last ten rounds
  Averages before;                  // the ten before those
  KeyTallies keys{};                // summed over the rounds the key map covers
  std::vector<int16_t> weakest;     // key codes, weakest first
};

// The counting of the round in play, the statistics screen and the weak keys
// that practice favours.
struct Progress {
  RoundCounts round;
  // Finished rounds not yet in the history: the main loop appends them.
  std::vector<RoundRecord> unsavedRounds;
  // The game folder, whose history the screen reads; none before start-up.
  bool keepHistory = false;
  std::string folder;
  bool screenOpen = false;
  bool allLists = false;    // the screen shows the rounds of every word list
  ProgressSummary summary;  // read when the screen opens, or switches lists
  // The last round ended without a place in the ranking: the title's hint
  // points to the statistics, where it is shown.
  bool lastRoundUnranked = false;
  // With practice, new words that hold these keys come more often.
  std::vector<int16_t> practiceKeys;
};

// Counts saturate rather than wrap, however long a round is stretched.
inline void Bump(int32_t& count) {
  if (count < INT32_MAX) ++count;
}

inline KeyTally* TallyOf(RoundCounts& counts, int32_t keyCode) {
  if (keyCode < 0 || keyCode >= kKeyCodes) return nullptr;
  return &counts.keys[static_cast<size_t>(keyCode)];
}

inline void CountLock(RoundCounts& counts, int32_t keyCode) {
  Bump(counts.locks);
  if (KeyTally* t = TallyOf(counts, keyCode)) Bump(t->locked);
}

inline void CountWrongKey(RoundCounts& counts, int32_t keyCode) {
  Bump(counts.wrongKeys);
  if (KeyTally* t = TallyOf(counts, keyCode)) Bump(t->wrong);
}

// A letter of fallenKey fell out and cleared `cleared` letters, itself among
// them. Only the fallen letter is the player's miss: the others were cleared
// through no fault of their keys.
inline void CountFallOut(RoundCounts& counts, int32_t fallenKey, int32_t cleared) {
  counts.lost = Saturate32(int64_t{counts.lost} + cleared);
  if (KeyTally* t = TallyOf(counts, fallenKey)) Bump(t->lost);
}

}  // namespace state
