// The recording of each session's best round, kept in the game folder's replays/.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "replay/recording.h"
#include "replay/recording_system.h"

namespace replay {

// At most this many best rounds are kept, the highest scores.
constexpr int kKeptReplays = 10;

// The folder of the game folder that keeps them.
constexpr const char* kReplaysFolder = "replays";

// A round is kept only while its recording stays below this size (a
// 120-second round takes some 100 KB; a round paused for hours is not kept).
constexpr std::size_t kMaxRoundBytes = std::size_t{4} << 20;

// The score of a kept round's file name, "best-<date>-<time>-<score>.script"
// (or "...-<score>-<n>.script" where two sessions kept a round in the same
// second with the same score); nothing for any other name.
std::optional<int64_t> ScoreOfReplayName(const std::string& name);

// Keeps replays/best-<date>-<time>-<score>.script: the recording of the
// session's best round so far, from its own start (the words, the ranking
// and the state the round began with, then its keys and passes), which
// --replay shows. A better round of the same session replaces it; of all
// sessions' files the ten highest scores stay, chosen under the folder's
// lock. Failures to write are not fatal: the game goes on, and one line
// says so.
class BestRounds : public RecordingSink, public RoundEvents {
 public:
  // wordBytes: the word file the session plays, when it could be read.
  BestRounds(std::string myPath, Recording& recording, std::optional<std::string> wordBytes);

  void Line(const std::string& line) override;
  void RoundStarted(const state::GameState& g, int round, uint32_t tick) override;
  void RoundEnded(const state::GameState& g, int round, int32_t score) override;

 private:
  void Keep(const std::string& text, int32_t score);
  void Warn(const std::string& line);

  std::string myPath_;
  const Recording& recording_;
  std::optional<std::string> wordBytes_;
  bool capturing_ = false;
  std::string round_;  // the recording of the round under way
  int32_t best_ = -1;
  std::string file_;  // this session's kept file
  bool warned_ = false;
};

}  // namespace replay
