// The options screen's list of rounds to watch: the kept best rounds, then the online board's.
#pragma once

#include <string>

#include "state/game_state.h"

namespace game {

// Where the options screen's lines begin, the list's too.
constexpr int32_t kOptionsLeft = 40;
constexpr int32_t kOptionsFirstLine = 52;

// Asks the server anew for the online board's rounds where this game's rounds go to one, and
// forgets those of before (another list, the ranking turned off).
void AskOnlineRounds(state::GameState& g);

// Whether the list offers any round.
bool HasRoundsToWatch(const state::GameState& g);

// What the options screen's line says of the list: how many rounds are kept, and how many the
// online board offers.
std::string WatchValue(const state::GameState& g);

// A key pressed on the list: Up and Down choose, Enter watches, Esc goes back to the options.
void ReadWatchKey(state::GameState& g, int32_t keyCode);

// The list, below the screen's title bar.
void DrawWatchList(state::GameState& g);

}  // namespace game
