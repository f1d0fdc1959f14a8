// One whole run of the game, whatever drives it: the window, a script, a recording.
#include "game/session.h"

#include <memory>

#include "ranking/ranking_save.h"

namespace game {

int RunSession(media::System& system, const Session& session) {
  // The state outlives nothing of the platform: it is released first.
  auto game = std::make_unique<state::GameState>();
  if (session.attach) session.attach(*game);
  try {
    std::vector<std::string> notes;
    try {
      notes = StartUp(*game, system, session.myPath, session.wordFile, session.options);
    } catch (const media::PlatformError& e) {
      session.report(std::string("start-up failed: ") + e.what());
      return 1;
    }
    for (const std::string& note : notes) (session.notes ? session.notes : session.report)(note);
    if (session.started) session.started(*game);
    const bool readOnly = session.options.readOnly;
    RunMainLoop(*game, system, session.myPath, session.report, readOnly);
    if (session.ended) session.ended(*game);
    ShutDown(*game, system, session.myPath, readOnly);
    return 0;
  } catch (const ranking::SaveError& e) {
    session.report(e.what());
  } catch (const media::PlatformError& e) {
    session.report(e.what());
  }
  return 1;
}

}  // namespace game
