// The files the game keeps in its folder, which no run may write over.
#include "game/game_files.h"

#include "game/kept_rounds.h"
#include "ranking/ranking_file.h"
#include "stats/history_file.h"
#include "storage/folder_lock.h"
#include "storage/folders.h"
#include "storage/paths.h"
#include "storage/read.h"
#include "typing/word_data.h"

namespace game {

std::optional<std::string> ClashWithGameFiles(const std::string& path, const std::string& myPath,
                                              const std::string& wordFile,
                                              const std::vector<std::string>& settingsFiles,
                                              const std::vector<std::string>& listFolders) {
  const std::string ranking = ranking::kRankingFileName;
  std::vector<std::string> files = {myPath + ranking,
                                    myPath + ranking + ".bak",
                                    myPath + storage::kLockFileName,
                                    myPath + stats::kHistoryFileName,
                                    myPath + typing::kWordFileName,
                                    myPath + "back.bmp",
                                    wordFile};
  files.insert(files.end(), settingsFiles.begin(), settingsFiles.end());
  for (const std::string& own : files) {
    if (!own.empty() && storage::SameFile(path, own)) {
      return path + " is a file the game keeps (" + own + "); choose another";
    }
  }
  // Folders whose files the game reads and writes by any name: the rankings of the word lists
  // (any list may be played), the lists themselves (the shipped ones too), the kept best
  // rounds. A file there is the game's by any of its names, a hard link elsewhere included.
  std::vector<std::string> folders = listFolders;
  for (const char* folder : {ranking::kRankingsFolder, typing::kWordListsFolder, kReplaysFolder}) {
    folders.push_back(myPath + folder);
  }
  const bool there = storage::Exists(path);
  for (const std::string& own : folders) {
    if (storage::SameFile(storage::FolderOf(path), own)) {
      return path + " is a file the game keeps (in " + own + "); choose another";
    }
    if (!there) continue;
    for (const std::string& name : storage::ListFolder(own)) {
      if (storage::SameFile(path, storage::JoinPath(own, name))) {
        return path + " is a file the game keeps (" + storage::JoinPath(own, name) +
               "); choose another";
      }
    }
  }
  return std::nullopt;
}

}  // namespace game
