// The files the game keeps in its folder, which no run may write over.
#include "game/game_files.h"

#include "ranking/ranking_file.h"
#include "stats/history_file.h"
#include "storage/folder_lock.h"
#include "storage/paths.h"
#include "storage/read.h"
#include "typing/word_data.h"

namespace game {

std::optional<std::string> ClashWithGameFiles(const std::string& path, const std::string& myPath,
                                              const std::string& wordFile) {
  const std::string ranking = ranking::kRankingFileName;
  for (const std::string& own : {myPath + ranking, myPath + ranking + ".bak",
                                 myPath + storage::kLockFileName, myPath + stats::kHistoryFileName,
                                 myPath + typing::kWordFileName, myPath + "back.bmp", wordFile}) {
    if (!own.empty() && storage::SameFile(path, own)) {
      return path + " is a file the game keeps (" + own + "); choose another";
    }
  }
  // The rankings of the word lists: any of them may be played, read and saved.
  const std::string rankings = myPath + ranking::kRankingsFolder;
  if (storage::SameFile(storage::FolderOf(path), rankings)) {
    return path + " is a file the game keeps (in " + rankings + "); choose another";
  }
  return std::nullopt;
}

}  // namespace game
