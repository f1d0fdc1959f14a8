// The name-entry screen, its keys, and the insertion of a result into the ranking.
#pragma once

#include <cstdint>
#include <string>

#include "state/game_state.h"

namespace ranking {

// One frame of name entry: the box and its texts, this frame's keys; on
// Enter, back to the title with the result entered.
void UpdateNameEntry(state::GameState& g);

std::string ReadNameKeys(state::GameState& g, const std::string& name);
void InsertRanking(state::GameState& g, int32_t score);

}  // namespace ranking
