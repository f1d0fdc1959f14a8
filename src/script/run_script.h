// A whole headless run: start-up, the scripted main loop, shutdown.
#pragma once

#include <ostream>
#include <string>

#include "game/lifecycle.h"
#include "online/online_rounds.h"

namespace script {

// Runs the game from the script at scriptPath ("-" for standard input) in
// the game folder myPath, with the words of wordFile (empty: the folder's).
// Returns the exit status: 0 done, 1 start-up or shutdown failed, 2 script
// error. Error lines, and what start-up has to tell, go to err. With
// recordPath, the run is recorded there as a script of its own. With
// online, each round is played on that server's ranking, and its line
// ({"online": ...}) goes to out once its fate there is settled.
int RunScriptedGame(const std::string& scriptPath, const std::string& myPath,
                    const std::string& wordFile, std::ostream& out, std::ostream& err,
                    const std::string& recordPath = "", const game::StartOptions& options = {},
                    const online::Setup* online = nullptr);

}  // namespace script
