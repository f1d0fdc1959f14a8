// Set-up of the display, sound and keyboard devices, in their fixed order.
#pragma once

#include <string>

#include "media/platform.h"
#include "state/game_state.h"

namespace game {

void InitDisplay(state::GameState& g, media::System& system, const std::string& myPath);
void InitSound(state::GameState& g, media::System& system);
void InitKeyboard(state::GameState& g, media::System& system);
// The sound device and its buffers made again (sound turned on or off).
void ReopenSound(state::GameState& g);

}  // namespace game
