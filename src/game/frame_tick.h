// FrameTick: one frame of the game, with the round clock.
#pragma once

#include <cstdint>

#include "state/game_state.h"

namespace game {

void FrameTick(state::GameState& g, int32_t& elapsedMs);

}  // namespace game
