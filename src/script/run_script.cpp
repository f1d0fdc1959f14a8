// A whole headless run: start-up, the scripted main loop, shutdown.
#include "script/run_script.h"

#include <fstream>
#include <iostream>
#include <memory>

#include "game/lifecycle.h"
#include "ranking/ranking_file.h"
#include "script/scripted_system.h"
#include "state/game_state.h"

namespace script {

int RunScriptedGame(const std::string& scriptPath, const std::string& myPath, std::ostream& out,
                    std::ostream& err) {
  std::ifstream file;
  std::istream* in = &std::cin;
  if (scriptPath != "-") {
    file.open(scriptPath, std::ios::binary);
    if (!file) {
      err << "cannot open the script " << scriptPath << '\n';
      return 2;
    }
    in = &file;
  }
  ScriptReader reader(*in);
  try {
    ScriptedSystem system(reader, out);
    system.ReadPrologue();
    // The state outlives nothing of the platform: it is released first.
    auto game = std::make_unique<state::GameState>();
    system.SetGame(game.get());
    try {
      game::StartUp(*game, system, myPath);
    } catch (const media::PlatformError& e) {
      err << "start-up failed: " << e.what() << '\n';
      return 1;
    }
    game::RunMainLoop(*game, system);
    game::ShutDown(*game, system, myPath);
    return 0;
  } catch (const ScriptError& e) {
    err << e.what() << '\n';
    return 2;
  } catch (const ranking::SaveError& e) {
    err << e.what() << '\n';
    return 1;
  } catch (const media::PlatformError& e) {
    err << e.what() << '\n';
    return 1;
  }
}

}  // namespace script
