// The recording of each session's best round, kept in the game folder's replays/.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "game/kept_rounds.h"
#include "replay/recording.h"
#include "replay/recording_system.h"

namespace replay {

// At most this many best rounds are kept, the highest scores.
constexpr int kKeptReplays = 10;

// A round is kept only while its recording stays below this size (a
// 120-second round takes some 100 KB; a round paused for hours is not kept).
constexpr std::size_t kMaxRoundBytes = std::size_t{4} << 20;

// Keeps replays/best-<date>-<time>-<score>.script: the recording of the
// session's best round so far, from its own start (the words, the ranking,
// the list's name and the state the round began with, then its keys and
// passes), which
// --replay shows. A better round of the same session replaces it; of all
// sessions' files the ten highest scores stay, chosen under the folder's
// lock. Failures to write are not fatal: the game goes on, and one line
// says so.
class BestRounds : public RecordingSink, public RoundEvents {
 public:
  BestRounds(std::string myPath, Recording& recording);

  void Line(const std::string& line) override;
  void RoundStarted(const state::GameState& g, int round, uint32_t tick) override;
  void RoundEnded(const state::GameState& g, int round, int32_t score) override;

 private:
  void Keep(const std::string& text, int32_t score);
  void Warn(const std::string& line);

  std::string myPath_;
  const Recording& recording_;
  bool capturing_ = false;
  std::string round_;  // the recording of the round under way
  int32_t best_ = -1;
  std::string file_;  // this session's kept file
  bool warned_ = false;
};

}  // namespace replay
