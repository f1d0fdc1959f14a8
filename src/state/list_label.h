// What a player reads for a word list: the lists that come with the game by what they
// practise, the game folder's own list as the game's words, any other by its name.
#pragma once

#include <string>
#include <string_view>

#include "state/game_state.h"

namespace state {

// name: the list's name as its ranking and history know it ("" for rapdata.ini).
std::string ListLabel(const GameState& g, std::string_view name);

}  // namespace state
