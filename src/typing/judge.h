// Typing during play: the key batch, firing, and the judgement of each key.
#pragma once

#include <cstdint>

#include "core/game_state.h"

namespace typing {

void ReadPlayKeys(core::GameState& g);
void FireShot(core::GameState& g);
void JudgeKey(core::GameState& g, int16_t keyCode);
bool TryLock(core::GameState& g, int16_t targetIndex, int16_t keyCode);

}  // namespace typing
