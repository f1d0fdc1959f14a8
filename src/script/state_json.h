// The JSON lines that a headless run prints: the game state and the frame.
#pragma once

#include <string>
#include <vector>

#include "media/surface.h"
#include "state/game_state.h"

namespace script {

// One line (without line end) with every member of the `state` command.
// sounds are the headless platform's calls by resource ("WAVHIT.play"); the
// line names them by the game state field that holds the buffer ("sndHit.play").
std::string StateJson(const state::GameState& g, int32_t tickCount,
                      const std::vector<std::string>& sounds);

// One line with the platform operations of the last pass.
std::string FrameJson(const std::vector<media::SurfaceOp>& ops);

// One line {"checksum": "<16 hex digits>"}: FNV-1a (64 bits) of the screen's
// palette indices, row by row, then its 256 colours as red, green, blue.
std::string ChecksumJson(const std::vector<uint8_t>& pixels, const media::Palette& palette);

}  // namespace script
