// Finding the word file that --words names: a file by its path, or a list by its name.
#include "app/word_lists.h"

#include <algorithm>
#include <memory>

#include "ranking/ranking_file.h"
#include "state/game_state.h"
#include "storage/paths.h"
#include "storage/program.h"
#include "storage/read.h"
#include "typing/word_data.h"

namespace app {

std::string ShippedWordLists() { return RAPIKO_WORD_LIST_NAMES; }

std::string WordFileHelp() {
  if (storage::kDriveLetters) {
    return "play the words of FILE (a path: one that holds a / or \\,\n"
           "a colon, or ends in .ini); an accented letter counts as\n"
           "its plain letter (É as E, ß as SS)";
  }
  return "play the words of FILE (a path: one that holds a / or\n"
         "ends in .ini); an accented letter counts as its plain\n"
         "letter (É as E, ß as SS)";
}

std::vector<std::string> WordListFolders(const std::string& myPath,
                                         const std::string& programFolder,
                                         const std::string& dataFolder) {
  std::vector<std::string> folders;
  for (const std::string& folder : {myPath, programFolder, dataFolder}) {
    const std::string words =
        storage::NormalPath(storage::JoinPath(folder, typing::kWordListsFolder));
    // The game folder is often the program's own.
    if (std::find(folders.begin(), folders.end(), words) == folders.end()) folders.push_back(words);
  }
  return folders;
}

std::optional<std::string> WordFileFor(const std::string& value,
                                       const std::vector<std::string>& folders,
                                       std::string& error) {
  const bool isPath = !storage::IsBareName(value) || value.ends_with(".ini");
  if (isPath) return value;
  std::string looked;  // the folders that exist, to say where the list was sought
  for (const std::string& folder : folders) {
    const std::string file = storage::JoinPath(folder, value + ".ini");
    if (storage::IsPlainFile(file)) return file;
    if (storage::IsFolder(folder)) looked += (looked.empty() ? " in " : ", ") + folder;
  }
  error = "no word list '" + value + "'" + looked + " (the game comes with " + ShippedWordLists() +
          "; a file needs a path, such as ./" + value + ")";
  return std::nullopt;
}

std::string ListNameOf(const std::string& value) {
  std::string name = storage::NameOf(value);
  for (const char* suffix : {".ini", ".txt"}) {
    if (name.size() > 4 && name.ends_with(suffix)) name.resize(name.size() - 4);
  }
  return name.empty() ? "words" : name;
}

std::string ListNameFor(const std::string& value, const std::string& file,
                        const std::string& folderWords) {
  return storage::SameFile(file, folderWords) ? std::string() : ListNameOf(value);
}

std::string ListIdFor(const std::string& value, const std::string& file, const std::string& myPath,
                      const std::vector<std::string>& folders) {
  if (storage::IsBareName(value) && !value.ends_with(".ini")) return "";
  std::string error;
  const auto named = WordFileFor(ListNameOf(value), folders, error);
  if (named && storage::SameFile(*named, file)) return "";
  std::string path = storage::AbsolutePath(file);
  const std::string folder = storage::FolderPath(storage::AbsolutePath(myPath));
  if (path.starts_with(folder)) path.erase(0, folder.size());
  // One path however its separators were written.
  for (char& c : path) c = storage::IsSeparator(c) ? '/' : c;
  return ranking::ListId(path);
}

bool WordFileLoads(const std::string& value, const std::string& file, std::string& error) {
  // The reading the game will do, into tables of its own.
  const auto scratch = std::make_unique<state::GameState>();
  const typing::WordReport report = typing::LoadWordData(*scratch, file);
  if (report.words > 0) return true;
  error = "--words " + value + (file == value ? "" : " (" + file + ")") + ": " +
          (report.opened ? "no words in it; " : "") + typing::WhyNoWords(report);
  return false;
}

}  // namespace app
