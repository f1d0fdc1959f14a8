// Plays a script in-process: an interactive session headless, or the main loop seen from a test.
#include "support/in_process.h"

#include <gtest/gtest.h>

#include "game/lifecycle.h"
#include "replay/best_rounds.h"
#include "replay/recording_system.h"
#include "script/scripted_system.h"

namespace testing_support {

std::vector<std::string> PlayInProcess(const GameDir& dir, const std::string& text) {
  std::istringstream in(text);
  script::ScriptReader reader(in);
  std::ostringstream out;
  script::ScriptedSystem scripted(reader, out);
  scripted.ReadPrologue();
  replay::Recording recording;
  replay::RecordingSystem system(scripted, recording);
  replay::BestRounds best(dir.Path() + "/", recording);
  {
    state::GameState g;  // what is left of it goes with the window
    scripted.SetGame(&g);
    system.SetGame(&g, {&best});
    const std::string folder = game::MyPath(dir.Path());
    try {
      game::StartUp(g, system, folder);
      game::RunMainLoop(g, system, folder, [](const std::string& line) { ADD_FAILURE() << line; });
      game::ShutDown(g, system, folder);
    } catch (const media::PlatformError&) {
      std::vector<std::string> log = scripted.Platform().CallLog();  // up to the failure
      log.push_back("PlatformError");
      return log;
    }
  }
  return scripted.Platform().CallLog();
}

void PlayMainLoop(const GameDir& dir, const std::string& text, state::GameState& g,
                  const game::StartOptions& options,
                  const std::function<media::System&(media::System&)>& system) {
  std::istringstream in(text);
  script::ScriptReader reader(in);
  std::ostringstream out;
  script::ScriptedSystem scripted(reader, out);
  scripted.ReadPrologue();
  scripted.SetGame(&g);
  media::System& played = system ? system(scripted) : scripted;
  const std::string folder = game::MyPath(dir.Path());
  game::StartUp(g, played, folder, "", options);
  game::RunMainLoop(g, played, folder, [](const std::string& line) { ADD_FAILURE() << line; });
}

}  // namespace testing_support
