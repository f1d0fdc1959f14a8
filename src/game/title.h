// The title screen with the ranking, and the round reset.
#pragma once

#include "state/game_state.h"

namespace game {

// The widest text the title's note line (what the online ranking said) shows whole.
constexpr int32_t kNoteWidth = 604;

void ReadTitleKeys(state::GameState& g);
void DrawTitleScreen(state::GameState& g);
// What Space on the title does: the round reset, the start sound, play mode.
// A kept round replayed from its start begins with it too.
void StartRound(state::GameState& g);
void ResetRound(state::GameState& g);

}  // namespace game
