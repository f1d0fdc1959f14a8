// A whole headless run: start-up, the scripted main loop, shutdown.
#include "script/run_script.h"

#include <iostream>
#include <memory>
#include <optional>
#include <sstream>

#include "game/session.h"
#include "replay/notes.h"
#include "replay/recording_system.h"
#include "replay/round_start.h"
#include "script/scripted_system.h"
#include "storage/read.h"

namespace script {
namespace {

// A round fetched to watch, played through as a replay in the window shows it (the words, the
// list and the start its notes give, nothing written), with nothing drawn anywhere: its result.
void PlayWatched(online::Watched& watched, const std::string& myPath, media::Language language) {
  std::istringstream lines(watched.text);
  ScriptReader reader(lines);
  std::ostream nowhere(nullptr);
  ScriptedSystem scripted(reader, nowhere);
  scripted.RefuseWrites([](const std::string&) {});
  const auto quiet = [](const std::string&) {};
  game::Session session{.myPath = myPath,
                        .options = replay::RecordedStart(watched.text, language),
                        .report = quiet,
                        .notes = quiet};
  session.attach = [&scripted](const state::GameState& g) { scripted.SetGame(&g); };
  const std::optional<std::string> resume = replay::NotedResume(watched.text);
  session.started = [&resume](state::GameState& g) {
    if (resume) replay::ApplyResume(g, *resume);
  };
  session.ended = [&watched](const state::GameState& g) {
    watched.score = g.score;
    watched.level = g.level;
  };
  try {
    scripted.ReadPrologue();
    if (game::RunSession(scripted, session) != 0) watched.error = "the round could not start";
  } catch (const std::runtime_error& e) {  // a script error: a recording this game cannot play
    watched.error = e.what();
  }
  if (!watched.error.empty()) watched.score = watched.level = std::nullopt;
}

}  // namespace

int RunScriptedGame(const std::string& scriptPath, const std::string& myPath,
                    const std::string& wordFile, std::ostream& out, std::ostream& err,
                    const std::string& recordPath, const game::StartOptions& options,
                    const online::Setup* online) {
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
    // An online round sends its recording: the run is recorded, to the
    // file if there is one.
    replay::Recording memory;
    replay::Recording* recording = record ? &record->Get() : online ? &memory : nullptr;
    std::unique_ptr<replay::RecordingSystem> recorder;
    if (recording) recorder = std::make_unique<replay::RecordingSystem>(scripted, *recording);
    std::unique_ptr<online::OnlineRounds> rounds;
    if (online) {
      online::Setup setup = *online;
      setup.settled = [&out](const online::Outcome& o) { out << OutcomeLine(o) << std::endl; };
      setup.boardRead = [&out](const online::Board& b) { out << BoardLine(b) << std::endl; };
      // Without a window, a round chosen to watch is played through at once: its result.
      setup.watch = [&out, &myPath, &options](const online::Watched& fetched) {
        online::Watched watched = fetched;
        if (!watched.text.empty()) PlayWatched(watched, myPath, options.choices.language);
        out << WatchedLine(watched) << std::endl;
      };
      rounds = std::make_unique<online::OnlineRounds>(setup, *recording);
    }
    media::System& system = recorder ? static_cast<media::System&>(*recorder) : scripted;
    game::Session session{.myPath = myPath, .wordFile = wordFile, .options = options};
    session.report = [&err](const std::string& line) { err << line << '\n'; };
    session.attach = [&](const state::GameState& g) {
      scripted.SetGame(&g);
      if (rounds) recorder->SetGame(&g, {rounds.get()});
    };
    session.started = [&record, &options, &rounds](state::GameState& g) {
      if (record && options.practice) {
        record->Get().Note(replay::PracticeNote(g.progress.practiceKeys));
      }
      if (rounds) rounds->SetGame(&g);
    };
    session.ended = [&rounds](const state::GameState& g) {
      if (rounds) rounds->Finish(g);
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
