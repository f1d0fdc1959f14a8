// The program's entry point: the command line, then a real or a scripted run.
#include <iostream>
#include <string>
#include <vector>

#include "app/cli.h"
#include "app/game_folder.h"
#include "app/sessions.h"
#include "app/word_lists.h"
#include "game/game_files.h"
#include "game/lifecycle.h"
#include "game/quit_signals.h"
#include "script/run_script.h"
#include "stats/summary.h"
#include "typing/word_data.h"

#ifndef RAPIKO_VERSION
#define RAPIKO_VERSION "0"
#endif

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
                            storage::UserDirsFromEnvironment(), error);
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
    return app::RunReplay(*options, myPath);
  }
  std::string wordFile = myPath + typing::kWordFileName;
  if (!options->words.empty()) {
    const auto file = app::WordFileFor(
        options->words,
        app::WordListFolders(myPath, programFolder, programFolder + "/" RAPIKO_DATA_FROM_BIN),
        error);
    if (!file || !app::WordFileLoads(options->words, *file, error)) {
      std::cerr << "rapiko: " << error << '\n';
      return 2;
    }
    wordFile = *file;
  }
  if (!options->record.empty()) {
    if (const auto clash = game::ClashWithGameFiles(options->record, myPath, wordFile)) {
      std::cerr << "rapiko: --record " << *clash << '\n';
      return 2;
    }
  }
  if (options->headless) {
    return script::RunScriptedGame(options->script, myPath, wordFile, std::cout, std::cerr,
                                   options->record, {.practice = options->practice});
  }
  return app::RunInteractive(*options, myPath, wordFile);
}
