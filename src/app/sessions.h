// The two ways a player's session runs: played in the window, or a recording shown there.
#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "app/cli.h"
#include "media/platform.h"
#include "state/game_state.h"

namespace app {

// Plays in the window, recording the session (to options.record too, when
// given) so that its best round can be kept; a kept round the player asks
// to watch (the options screen) is shown, then the game starts again.
// Returns the exit status.
int RunInteractive(const Options& options, const std::string& myPath, const std::string& wordFile,
                   const state::Choices& choices);

// Shows the recording options.replay in the window as a game that writes
// nothing. Returns the exit status: 0 done or stopped, 1 start-up failed, 2
// the recording cannot be read or has an error.
int RunReplay(const Options& options, const std::string& myPath, media::Language language);

// Plays the text of the recording `name` in the window of `window` as
// RunReplay does (the game folder myPath gives back.bmp, and what the
// recording does not carry); error lines go to err, and ended sees the game
// as it ends.
int PlayRecording(const std::string& name, const std::string& text, const std::string& myPath,
                  media::System& window, std::ostream& err,
                  const std::function<void(const state::GameState&)>& ended = {},
                  media::Language language = media::Language::kEnglish);

}  // namespace app
