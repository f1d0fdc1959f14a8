// The two ways a player's session runs: played in the window, or a recording shown there.
#include "app/sessions.h"

#include <iostream>
#include <memory>
#include <sstream>
#include <tuple>

#include "game/session.h"
#include "media/sdl/system.h"
#include "ranking/ranking_file.h"
#include "replay/best_rounds.h"
#include "replay/notes.h"
#include "replay/recording_system.h"
#include "replay/replay_system.h"
#include "script/scripted_system.h"
#include "storage/read.h"
#include "typing/word_data.h"

namespace app {
namespace {

// Hundreds of hours of play; no recording comes near it.
constexpr std::size_t kMaxRecordingBytes = std::size_t{256} << 20;

void Tell(const std::string& line) { std::cerr << "rapiko: " << line << '\n'; }

media::SdlOptions WindowOptions(const Options& options) {
  media::SdlOptions sdl;
  sdl.window = options.window;
  sdl.scale = options.scale;
  sdl.keys = options.keysByPosition ? media::KeyReading::Position : media::KeyReading::Character;
  sdl.mute = options.mute;
  sdl.notice = Tell;
  return sdl;
}

}  // namespace

// Every session is recorded, so that its best round can be kept; with
// --record the recording also goes to a file as it is played. It starts
// with the word list played and the ranking as they were, so it replays
// the same.
int RunInteractive(const Options& options, const std::string& myPath, const std::string& wordFile) {
  try {
    replay::Recording memory;
    std::unique_ptr<replay::RecordingFile> file;
    if (!options.record.empty()) file = std::make_unique<replay::RecordingFile>(options.record);
    replay::Recording& recording = file ? file->Get() : memory;
    const std::tuple<std::string, std::string, std::size_t> files[] = {
        {typing::kWordFileName, wordFile, typing::kMaxWordFileBytes},
        {ranking::kRankingFileName, myPath + ranking::kRankingFileName,
         ranking::kMaxRankingFileBytes}};
    for (const auto& [name, path, limit] : files) {
      const storage::FileRead bytes = storage::ReadWholeFile(path, limit);
      if (bytes.opened && bytes.complete) recording.Note(replay::FileNote(name, bytes.bytes));
    }
    std::unique_ptr<media::System> window = media::CreateSdlSystem(WindowOptions(options));
    replay::RecordingSystem system(*window, recording);
    replay::BestRounds best(myPath, recording);
    game::Session session{.myPath = myPath,
                          .wordFile = wordFile,
                          .options = {.practice = options.practice},
                          .report = Tell};
    session.attach = [&](const state::GameState& g) {
      system.SetGame(&g, [&best](int round, int32_t score) { best.RoundEnded(round, score); });
    };
    session.started = [&](const state::GameState& g) {
      if (options.practice) recording.Note(replay::PracticeNote(g.progress.practiceKeys));
    };
    const int status = game::RunSession(system, session);
    if (status == 0 && file) file->Finish();
    return status;
  } catch (const std::runtime_error& e) {  // no window, or the recording could not be written
    Tell(e.what());
  }
  return 1;
}

int ShowRecording(const std::string& path, const std::string& myPath, media::System& window,
                  std::ostream& err) {
  const storage::FileRead file = storage::ReadWholeFile(path, kMaxRecordingBytes);
  if (!file.opened || !file.complete) {
    err << "cannot read the recording " << path << '\n';
    return 2;
  }
  try {
    const replay::ReplayFolder folder(myPath, file.bytes);
    std::istringstream text(file.bytes);
    script::ScriptReader reader(text);
    std::ostream nowhere(nullptr);  // state and frame lines of the script go nowhere
    script::ScriptedSystem scripted(reader, nowhere);
    scripted.ReadPrologue();
    replay::ReplaySystem replay(scripted, window, replay::RoundsToSkip(file.bytes));
    game::Session session{.myPath = folder.Path(),
                          .options = {.practiceKeys = replay::NotedPracticeKeys(file.bytes)},
                          .report = [&err](const std::string& line) { err << line << '\n'; },
                          // about the copy, not the player's folder
                          .notes = [](const std::string&) {}};
    session.attach = [&](const state::GameState& g) {
      scripted.SetGame(&g);
      replay.SetGame(&g);
    };
    return game::RunSession(replay, session);
  } catch (const script::ScriptError& e) {
    err << path << ": " << e.what() << '\n';
    return 2;
  } catch (const std::runtime_error& e) {
    err << e.what() << '\n';
    return 1;
  }
}

int RunReplay(const Options& options, const std::string& myPath) {
  try {
    std::unique_ptr<media::System> window = media::CreateSdlSystem(WindowOptions(options));
    return ShowRecording(options.replay, myPath, *window, std::cerr);
  } catch (const media::PlatformError& e) {
    Tell(e.what());
    return 1;
  }
}

}  // namespace app
