// The program: the command line, then a real or a scripted run.
#include "app/run.h"

#include <iostream>
#include <string>
#include <vector>

#include "app/choices.h"
#include "app/cli.h"
#include "app/game_folder.h"
#include "app/online_play.h"
#include "app/sessions.h"
#include "app/word_lists.h"
#include "game/game_files.h"
#include "game/lifecycle.h"
#include "game/settings.h"
#include "media/quit_signals.h"
#include "script/run_script.h"
#include "stats/summary.h"
#include "storage/paths.h"
#include "storage/program.h"
#include "storage/read.h"
#include "storage/user_folder.h"
#include "typing/word_data.h"

namespace app {

int Run(int argc, char** argv, const Host& host) {
  const std::vector<std::string> args = storage::ProgramArguments(argc, argv);
  std::string error;
  const auto options = ParseCommandLine(args, error);
  if (!options) {
    std::cerr << "rapiko: " << error << "\n\n" << UsageText();
    return 2;
  }
  if (options->help) {
    std::cout << UsageText();
    return 0;
  }
  if (options->version) {
    std::cout << "Rapiko " << RAPIKO_VERSION << '\n';
    return 0;
  }
  const std::string programFolder = storage::ProgramFolder(argc > 0 ? argv[0] : "");
  const std::string installedData = storage::JoinPath(programFolder, RAPIKO_DATA_FROM_BIN);
  const FolderPlaces places{.programFolder = programFolder,
                            .installedData = installedData,
                            .dirs = storage::UserDirsFromEnvironment()};
  const auto folder = ChooseGameFolder(options->dir, places, error);
  if (!folder) {
    std::cerr << "rapiko: " << error << '\n';
    return 1;
  }
  const std::string myPath = game::MyPath(*folder);
  const std::vector<std::string> listFolders =
      WordListFolders(myPath, programFolder, installedData);
  const std::string locale = storage::UserLocale();
  // A headless run reads no settings: the script and its arguments fix it.
  const std::string settingsFolder = SettingsFolder(*folder, places);
  const std::string userSettings =
      settingsFolder.empty() ? "" : storage::JoinPath(settingsFolder, game::kSettingsFileName);
  // Online tokens are the player's: kept in the system's settings folder, never in a
  // portable copy's, which others may copy.
  const std::string tokenFolder = storage::ConfigFolder(places.dirs);
  const std::string tokenSettings =
      tokenFolder.empty() ? "" : storage::JoinPath(tokenFolder, game::kSettingsFileName);
  const std::string settingsPath = options->headless ? "" : userSettings;
  // What a game killed while writing the settings left, as in the game folder.
  if (!settingsPath.empty()) game::RemoveSettingsLeftOvers(settingsFolder);
  const state::Settings settings =
      settingsPath.empty() ? state::Settings{}
                           : game::ReadSettings(settingsPath, [](const std::string& line) {
                               std::cerr << "rapiko: " << line << '\n';
                             });
  const std::string folderWords = myPath + typing::kWordFileName;
  if (options->stats) {
    // The rounds of the list a game would play now, or of every list.
    stats::ListFilter filter;
    if (!options->allLists) {
      const std::string words =
          options->words.empty() ? settings.words.value_or("") : options->words;
      const auto file = words.empty() ? std::nullopt : WordFileFor(words, listFolders, error);
      const std::string played = file.value_or(words);
      const std::string name = words.empty() ? "" : ListNameFor(words, played, folderWords);
      filter = stats::ListFilter::Of(
          name, name.empty() ? "" : ListIdFor(words, played, myPath, listFolders));
    }
    std::cout << stats::SummaryText(stats::ReadSummary(myPath, filter), myPath, filter);
    return 0;
  }
  const media::QuitSignalCatcher quitSignals;
  if (!options->replay.empty()) {
    return RunReplay(*options, myPath, ChooseLanguage(*options, settings, locale));
  }
  state::Choices choices = ChooseChoices(*options, settings, locale);
  choices.listFolders = listFolders;
  choices.settingsPath = settingsPath;
  choices.tokenSettingsPath = options->headless ? "" : tokenSettings;
  choices.canSizeWindow = host.canSizeWindow;
  std::string wordFile = folderWords;
  // The list of --words, else the one the options screen chose last.
  const std::string words =
      options->words.empty() && !options->headless ? settings.words.value_or("") : options->words;
  if (!words.empty()) {
    const auto file = WordFileFor(words, listFolders, error);
    const bool plays = file && WordFileLoads(words, *file, error);
    if (!plays && !options->words.empty()) {
      std::cerr << "rapiko: " << error << '\n';
      return 2;
    }
    if (!plays) {
      std::cerr << "rapiko: the chosen word list cannot be played (" << error << "); playing "
                << wordFile << '\n';
    } else {
      // The game folder's own list named by its path keeps its own ranking.
      choices.listName = ListNameFor(words, *file, wordFile);
      if (!choices.listName.empty()) choices.listId = ListIdFor(words, *file, myPath, listFolders);
      wordFile = *file;
    }
  }
  if (!options->record.empty()) {
    if (const auto clash = game::ClashWithGameFiles(options->record, myPath, wordFile,
                                                    {userSettings, tokenSettings}, listFolders)) {
      std::cerr << "rapiko: --record " << *clash << '\n';
      return 2;
    }
  }
  if (options->headless) {
    game::StartOptions start{.practice = options->practice, .choices = choices};
    const std::optional<online::Setup> online = OnlineSetup(choices.online, tokenSettings);
    return script::RunScriptedGame(options->script, myPath, wordFile, std::cout, std::cerr,
                                   options->record, start, online ? &*online : nullptr);
  }
  return RunInteractive(*options, myPath, wordFile, choices);
}

}  // namespace app
