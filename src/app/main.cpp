// The program's entry point: the command line, then a real or a scripted run.
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/cli.h"
#include "app/game_folder.h"
#include "app/word_lists.h"
#include "game/lifecycle.h"
#include "game/quit_signals.h"
#include "media/files.h"
#include "media/sdl/system.h"
#include "ranking/ranking_file.h"
#include "ranking/ranking_save.h"
#include "script/best_rounds.h"
#include "script/recorder.h"
#include "script/replay.h"
#include "script/run_script.h"
#include "state/game_state.h"
#include "stats/summary.h"
#include "typing/word_data.h"

#ifndef RAPIKO_VERSION
#define RAPIKO_VERSION "0"
#endif

namespace {

media::SdlOptions WindowOptions(const app::Options& options) {
  media::SdlOptions sdl;
  sdl.window = options.window;
  sdl.scale = options.scale;
  sdl.keys = options.keysByPosition ? media::KeyReading::Position : media::KeyReading::Character;
  sdl.mute = options.mute;
  sdl.notice = [](const std::string& line) { std::cerr << "rapiko: " << line << '\n'; };
  return sdl;
}

// Every session is recorded, so that its best round can be kept; with
// --record the recording also goes to a file as it is played. It starts
// with the word list played and the ranking as they were, so it replays
// the same.
int RunInteractive(const app::Options& options, const std::string& myPath,
                   const std::string& wordFile) {
  try {
    script::Recording memory;
    std::unique_ptr<script::RecordingFile> file;
    if (!options.record.empty()) file = std::make_unique<script::RecordingFile>(options.record);
    script::Recording& recording = file ? file->Get() : memory;
    const std::tuple<std::string, std::string, std::size_t> files[] = {
        {typing::kWordFileName, wordFile, typing::kMaxWordFileBytes},
        {ranking::kRankingFileName, myPath + ranking::kRankingFileName,
         ranking::kMaxRankingFileBytes}};
    for (const auto& [name, path, limit] : files) {
      const media::FileRead bytes = media::ReadWholeFile(path, limit);
      if (bytes.opened && bytes.complete) recording.Note(script::FileNote(name, bytes.bytes));
    }
    std::unique_ptr<media::System> window = media::CreateSdlSystem(WindowOptions(options));
    script::RecordingSystem system(*window, recording);
    script::BestRounds best(myPath, recording);
    auto game = std::make_unique<state::GameState>();
    system.SetGame(game.get(),
                   [&best](int round, int32_t score) { best.RoundEnded(round, score); });
    for (const std::string& note :
         game::StartUp(*game, system, myPath, wordFile, {.practice = options.practice}))
      std::cerr << "rapiko: " << note << '\n';
    if (options.practice) recording.Note(script::PracticeNote(game->progress.practiceKeys));
    game::RunMainLoop(*game, system, myPath,
                      [](const std::string& line) { std::cerr << "rapiko: " << line << '\n'; });
    game::ShutDown(*game, system, myPath);
    if (file) file->Finish();
    return 0;
  } catch (const ranking::SaveError& e) {
    std::cerr << "rapiko: " << e.what() << '\n';
  } catch (const media::PlatformError& e) {
    std::cerr << "rapiko: " << e.what() << '\n';
  } catch (const std::runtime_error& e) {  // the recording could not be written
    std::cerr << "rapiko: " << e.what() << '\n';
  }
  return 1;
}

int RunReplay(const app::Options& options, const std::string& myPath) {
  try {
    std::unique_ptr<media::System> window = media::CreateSdlSystem(WindowOptions(options));
    return script::RunReplay(options.replay, myPath, *window, std::cerr);
  } catch (const media::PlatformError& e) {
    std::cerr << "rapiko: " << e.what() << '\n';
    return 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const auto options = app::ParseCommandLine(args, error);
  if (!options) {
    std::cerr << "rapiko: " << error << "\n\n" << app::UsageText();
    return 2;
  }
  if (options->help) {
    std::cout << app::UsageText();
    return 0;
  }
  if (options->version) {
    std::cout << "Rapiko " << RAPIKO_VERSION << '\n';
    return 0;
  }
  const std::string programFolder = app::ProgramFolder(argc > 0 ? argv[0] : "");
  const auto folder =
      app::ChooseGameFolder(options->dir, programFolder, programFolder + "/" RAPIKO_DATA_FROM_BIN,
                            app::UserDirsFromEnvironment(), error);
  if (!folder) {
    std::cerr << "rapiko: " << error << '\n';
    return 1;
  }
  const std::string myPath = game::MyPath(*folder);
  if (options->stats) {
    std::cout << stats::SummaryText(stats::ReadSummary(myPath), myPath);
    return 0;
  }
  game::CatchQuitSignals();
  if (!options->replay.empty()) {
    return RunReplay(*options, myPath);
  }
  std::string wordFile = myPath + typing::kWordFileName;
  if (!options->words.empty()) {
    const auto file = app::WordFileFor(
        options->words,
        app::WordListFolders(myPath, programFolder, programFolder + "/" RAPIKO_DATA_FROM_BIN),
        error);
    if (!file) {
      std::cerr << "rapiko: " << error << '\n';
      return 2;
    }
    wordFile = *file;
  }
  if (options->headless) {
    return script::RunScriptedGame(options->script, myPath, wordFile, std::cout, std::cerr,
                                   options->record, {.practice = options->practice});
  }
  return RunInteractive(*options, myPath, wordFile);
}
