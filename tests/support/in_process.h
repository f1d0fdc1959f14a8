// Plays a script in-process, recorded, with the best-round keeper: an interactive session headless.
#pragma once

#include <string>
#include <vector>

#include "support/script_run.h"

namespace testing_support {

// Plays text in the game folder dir with a recording and the best-round
// keeper, as an interactive session does. Returns the platform's calls,
// ending in "PlatformError" where start-up failed.
std::vector<std::string> PlayInProcess(const GameDir& dir, const std::string& text);

}  // namespace testing_support
