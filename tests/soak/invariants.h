// The invariants of the game state that must hold after every pass of the main loop.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/game_state.h"

namespace soak {

// Every rule that g breaks, one readable line each; empty when it is sound.
// modeBefore is the game mode that the pass started in (the one FrameTick
// worked in): the name length only holds after a name-entry frame.
std::vector<std::string> CheckInvariants(const core::GameState& g, int16_t modeBefore);

// The live part of the target ring, oldest first.
std::vector<int16_t> LiveSlots(const core::GameState& g);

// A one-line picture of the fields the invariants are about, for failure reports.
std::string DescribeState(const core::GameState& g);

}  // namespace soak
