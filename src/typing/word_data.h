// The word data file "rapdata.ini": the words whose letters fall.
#pragma once

#include <string>

#include "core/game_state.h"

namespace typing {

void LoadWordData(core::GameState& g, const std::string& myPath);
// The same reading, from the file's bytes (for tests and fuzzing).
void LoadWordDataFromBytes(core::GameState& g, const std::string& bytes);

}  // namespace typing
