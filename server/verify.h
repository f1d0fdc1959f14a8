// A round sent to the server, replayed from the start its ticket gave.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "state/game_state.h"

namespace server {

// A real round is some 7,500 passes at 60 Hz; a replay stops here.
constexpr uint32_t kMaxPasses = 200000;

// No person sees a letter appear and types it within this time; a round
// with at least kFastLocksSeen locks, half of them or more that fast, was
// typed by a program. (A letter cannot be typed before it appears: the key
// would be a wrong key.)
constexpr int32_t kHumanReactionMs = 100;
constexpr int32_t kFastLocksSeen = 20;

struct RoundStart {
  uint32_t seed = 0;
  std::vector<std::string> words;
};

struct Verdict {
  // Empty when the recording replays to a finished round; else one line.
  std::string refusal;
  int32_t score = 0;
  int32_t level = 0;
  int32_t maxLevel = 0;
  uint32_t passes = 0;
  // Letters locked, and those locked sooner than kHumanReactionMs by the
  // round's clock after they appeared.
  int32_t locks = 0;
  int32_t fastLocks = 0;
  // Whether no person could have typed the round (FasterThanAPerson).
  bool Inhuman() const;
};

struct ReplayOptions {
  // Draws every pass on the headless display with the back.bmp of this
  // folder, as a headless run does; by default nothing is drawn.
  std::optional<std::string> pictureFolder;
  // Called before each pass with the state the one before left.
  std::function<void(const state::GameState&)> beforePass;
};

// Why a recording may not be replayed: a line that is no key, tick or click
// command of a round (one line naming it), or nothing.
std::optional<std::string> RefusedLine(const std::string& recording);

// Replays recording from start, up to the end of the pass in which the
// round ends; the result is the replay's.
Verdict ReplayRound(const RoundStart& start, const std::string& recording,
                    const ReplayOptions& options = {});

}  // namespace server
