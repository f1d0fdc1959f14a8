// The window a player's session plays in: SDL's, or none in a build without SDL.
#pragma once

#include <memory>

#include "app/cli.h"
#include "media/platform.h"

namespace app {

// The window (or full screen) of options, with its sound and keyboard.
// Throws PlatformError with one line when there can be none.
std::unique_ptr<media::System> OpenWindow(const Options& options);

}  // namespace app
