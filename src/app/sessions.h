// The two ways a player's session runs: played in the window, or a recording shown there.
#pragma once

#include <ostream>
#include <string>

#include "app/cli.h"
#include "media/platform.h"

namespace app {

// Plays in the window, recording the session (to options.record too, when
// given) so that its best round can be kept. Returns the exit status.
int RunInteractive(const Options& options, const std::string& myPath, const std::string& wordFile);

// Shows the recording options.replay in the window, in a copy of the game
// folder so that nothing is saved. Returns the exit status: 0 done or
// stopped, 1 start-up failed, 2 the recording cannot be read or has an error.
int RunReplay(const Options& options, const std::string& myPath);

// The same in the window of `window`; error lines go to err.
int ShowRecording(const std::string& path, const std::string& myPath, media::System& window,
                  std::ostream& err);

}  // namespace app
