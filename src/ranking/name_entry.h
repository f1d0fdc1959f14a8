// The name-entry screen, its keys, and the insertion of a result into the ranking.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "state/game_state.h"

namespace ranking {

// One frame of name entry: the box and its texts, this frame's keys; on
// Enter, back to the title with the result entered.
void UpdateNameEntry(state::GameState& g);

// A game ended from outside (a signal) while a name is typed: the result
// is entered under the name as it stands (the last name when none was
// typed), as Enter would enter it. Nothing on another screen.
void EnterNameNow(state::GameState& g);

std::string ReadNameKeys(state::GameState& g, const std::string& name);
// Enters the result of a round under entryName, and keeps it for the next
// save of the ranking file.
void InsertRanking(state::GameState& g, int32_t score);
// The insertion rule: the entry goes below every key not lower than its own,
// and the tenth place drops out; below all ten it changes nothing.
void InsertRankEntry(std::array<int32_t, state::kRankPlaces>& keys,
                     std::array<std::string, state::kRankPlaces>& names,
                     const state::RankEntry& entry);

}  // namespace ranking
