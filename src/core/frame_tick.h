// FrameTick: one frame of the game, with the round clock and the name-entry screen.
#pragma once

#include <cstdint>

#include "core/game_state.h"

namespace core {

constexpr int32_t kRoundLengthMs = 120000;

void FrameTick(GameState& g, int32_t& elapsedMs);

}  // namespace core
