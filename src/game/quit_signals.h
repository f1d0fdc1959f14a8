// Hang-up, terminate and interrupt signals end the game the way Esc does.
#pragma once

namespace game {

// Installs the handlers of SIGHUP, SIGTERM and SIGINT. A handler only notes
// the signal; the main loop ends at its next pass, and shutdown saves the
// ranking as after Esc.
void CatchQuitSignals();

// True once one of those signals has arrived.
bool QuitSignalled();

}  // namespace game
