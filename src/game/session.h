// One whole run of the game, whatever drives it: the window, a script, a recording.
#pragma once

#include <functional>
#include <string>

#include "game/lifecycle.h"
#include "media/platform.h"
#include "state/game_state.h"

namespace game {

struct Session {
  std::string myPath{};    // the game folder, ending in '/'
  std::string wordFile{};  // empty: the folder's word file
  StartOptions options{};
  // Takes each line the player is told: a save that failed, why the run
  // ended early.
  ReportLine report{};
  // Takes what start-up found (a damaged ranking, words left out); report
  // when not given.
  ReportLine notes{};
  // Called with the game before start-up: the systems that look at the game
  // (a script's `state` lines, a recording's rounds) take it here.
  std::function<void(const state::GameState&)> attach{};
  // Called after start-up, before the first pass (a replay puts the state
  // its round began with here).
  std::function<void(state::GameState&)> started{};
  // Called when the main loop has ended, before shutdown.
  std::function<void(const state::GameState&)> ended{};
};

// Start-up, the main loop and shutdown on system. Returns the exit status:
// 0 after a normal end (ranking saved), 1 when start-up failed or the
// ranking could not be saved at the end (the line says which). Any other
// error (a script's) is left to the caller.
int RunSession(media::System& system, const Session& session);

}  // namespace game
