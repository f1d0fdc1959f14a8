// The recording of each session's best round, kept in the game folder's replays/.
#pragma once

#include <cstdint>
#include <string>

#include "replay/recording.h"

namespace replay {

// At most this many best rounds are kept, the highest scores.
constexpr int kKeptReplays = 10;

// The folder of the game folder that keeps them.
constexpr const char* kReplaysFolder = "replays";

// Keeps replays/best-<date>-<score>.script: the session as recorded up to
// the end of its best round so far, which --replay shows from that round's
// start. A better round of the same session replaces it; of all sessions'
// files the ten highest scores stay. Failures to write are not fatal: the
// game goes on, and one line says so.
class BestRounds {
 public:
  BestRounds(std::string myPath, const Recording& recording);
  void RoundEnded(int round, int32_t score);

 private:
  std::string myPath_;
  const Recording& recording_;
  int32_t best_ = -1;
  std::string file_;  // this session's kept file
  bool warned_ = false;
};

}  // namespace replay
