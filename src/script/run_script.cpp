// A whole headless run: start-up, the scripted main loop, shutdown.
#include "script/run_script.h"

#include <iostream>
#include <memory>

#include "game/session.h"
#include "replay/notes.h"
#include "replay/recording_system.h"
#include "script/scripted_system.h"
#include "storage/read.h"

namespace script {

int RunScriptedGame(const std::string& scriptPath, const std::string& myPath,
                    const std::string& wordFile, std::ostream& out, std::ostream& err,
                    const std::string& recordPath, const game::StartOptions& options) {
  std::unique_ptr<std::istream> file;
  std::istream* in = &std::cin;
  if (scriptPath != "-") {
    file = storage::OpenStream(scriptPath);
    if (!file) {
      err << "cannot open the script " << scriptPath << '\n';
      return 2;
    }
    in = file.get();
  }
  ScriptReader reader(*in);
  std::unique_ptr<replay::RecordingFile> record;
  try {
    if (!recordPath.empty()) record = std::make_unique<replay::RecordingFile>(recordPath);
  } catch (const std::runtime_error& e) {
    err << e.what() << '\n';
    return 1;
  }
  try {
    ScriptedSystem scripted(reader, out);
    scripted.ProtectGameFiles(myPath, wordFile);
    scripted.ReadPrologue();
    std::unique_ptr<replay::RecordingSystem> recording;
    if (record) recording = std::make_unique<replay::RecordingSystem>(scripted, record->Get());
    media::System& system = recording ? static_cast<media::System&>(*recording) : scripted;
    game::Session session{.myPath = myPath, .wordFile = wordFile, .options = options};
    session.report = [&err](const std::string& line) { err << line << '\n'; };
    session.attach = [&scripted](const state::GameState& g) { scripted.SetGame(&g); };
    session.started = [&record, &options](state::GameState& g) {
      if (record && options.practice) {
        record->Get().Note(replay::PracticeNote(g.progress.practiceKeys));
      }
    };
    const int status = game::RunSession(system, session);
    // Every failed write is told: the recording's too when the ranking's failed.
    if (record) record->Finish();
    return status;
  } catch (const ScriptError& e) {
    err << e.what() << '\n';
    return 2;
  } catch (const std::runtime_error& e) {  // the recording could not be written
    err << e.what() << '\n';
    return 1;
  }
}

}  // namespace script
