// Set-up of the display, sound and keyboard devices, in their fixed order.
#pragma once

#include <string>

#include "core/game_state.h"
#include "media/platform.h"

namespace core {

void InitDisplay(GameState& g, media::System& system, const std::string& myPath);
void InitSound(GameState& g, media::System& system);
void InitKeyboard(GameState& g, media::System& system);

}  // namespace core
