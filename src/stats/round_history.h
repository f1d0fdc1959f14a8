// The game's use of the history: keeping each finished round, practice's weak keys.
#pragma once

#include <string>

#include "state/game_state.h"

namespace stats {

// From now on finished rounds are appended to the history in myPath.
void KeepHistory(state::GameState& g, const std::string& myPath);

// Keeps the round that has just ended for the history: its counts, score
// and levels, stamped with the local date and time.
void FinishRound(state::GameState& g);

// Appends the finished rounds to the history in myPath. When that fails they
// stay for the next try, and HistoryError says why.
void SaveFinishedRounds(state::GameState& g, const std::string& myPath);

// Practice: the weakest keys of the word list's rounds in the history
// become the keys new words should hold. Without such rounds there are
// none, and words come as always.
void LoadPracticeKeys(state::GameState& g);

}  // namespace stats
