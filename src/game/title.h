// The title screen with the ranking, and the round reset.
#pragma once

#include "state/game_state.h"

namespace game {

void ReadTitleKeys(state::GameState& g);
void DrawTitleScreen(state::GameState& g);
void ResetRound(state::GameState& g);

}  // namespace game
