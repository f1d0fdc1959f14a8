// Typing during play: the key batch (Enter and Space fire the shot), the judgement of each key.
#pragma once

#include <cstdint>

#include "state/game_state.h"

namespace typing {

void ReadPlayKeys(state::GameState& g);
void JudgeKey(state::GameState& g, int16_t keyCode);
bool TryLock(state::GameState& g, int16_t targetIndex, int16_t keyCode);

}  // namespace typing
