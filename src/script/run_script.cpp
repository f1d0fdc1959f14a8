// A whole headless run: start-up, the scripted main loop, shutdown.
#include "script/run_script.h"

#include <fstream>
#include <iostream>
#include <memory>

#include "game/lifecycle.h"
#include "ranking/ranking_save.h"
#include "script/recorder.h"
#include "script/scripted_system.h"
#include "state/game_state.h"

namespace script {

int RunScriptedGame(const std::string& scriptPath, const std::string& myPath,
                    const std::string& wordFile, std::ostream& out, std::ostream& err,
                    const std::string& recordPath, const game::StartOptions& options) {
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
  std::unique_ptr<RecordingFile> record;
  try {
    if (!recordPath.empty()) record = std::make_unique<RecordingFile>(recordPath);
  } catch (const std::runtime_error& e) {
    err << e.what() << '\n';
    return 1;
  }
  try {
    ScriptedSystem scripted(reader, out);
    scripted.ReadPrologue();
    std::unique_ptr<RecordingSystem> recording;
    if (record) recording = std::make_unique<RecordingSystem>(scripted, record->Get());
    media::System& system = recording ? static_cast<media::System&>(*recording) : scripted;
    // The state outlives nothing of the platform: it is released first.
    auto game = std::make_unique<state::GameState>();
    scripted.SetGame(game.get());
    const game::ReportLine report = [&err](const std::string& line) { err << line << '\n'; };
    try {
      for (const std::string& note : game::StartUp(*game, system, myPath, wordFile, options))
        err << note << '\n';
      if (record && options.practice) {
        record->Get().Note(PracticeNote(game->progress.practiceKeys));
      }
    } catch (const media::PlatformError& e) {
      err << "start-up failed: " << e.what() << '\n';
      return 1;
    }
    game::RunMainLoop(*game, system, myPath, report);
    game::ShutDown(*game, system, myPath);
    if (record) record->Finish();
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
  } catch (const std::runtime_error& e) {  // the recording could not be written
    err << e.what() << '\n';
    return 1;
  }
}

}  // namespace script
