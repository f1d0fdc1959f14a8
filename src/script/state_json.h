// The JSON lines that a headless run prints: the game state and the frame.
#pragma once

#include <string>
#include <vector>

#include "core/game_state.h"
#include "media/surface.h"

namespace script {

// One line (without line end) with every member of the `state` command.
std::string StateJson(const core::GameState& g, int32_t tickCount,
                      const std::vector<std::string>& sounds);

// One line with the platform operations of the last pass.
std::string FrameJson(const std::vector<media::SurfaceOp>& ops);

}  // namespace script
