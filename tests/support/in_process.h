// Plays a script in-process: an interactive session headless, or the main loop seen from a test.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "game/lifecycle.h"
#include "media/platform.h"
#include "support/script_run.h"

namespace testing_support {

// Plays text in the game folder dir with a recording and the best-round
// keeper, as an interactive session does. Returns the platform's calls,
// ending in "PlatformError" where start-up failed.
std::vector<std::string> PlayInProcess(const GameDir& dir, const std::string& text);

// Plays text in the game folder dir from start-up to the end of the main
// loop (no shutdown) with options, the scripted system seen through
// system(scripted) where given; g is the game as the loop left it.
void PlayMainLoop(const GameDir& dir, const std::string& text, state::GameState& g,
                  const game::StartOptions& options = {},
                  const std::function<media::System&(media::System&)>& system = {});

}  // namespace testing_support
