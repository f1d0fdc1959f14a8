// Which folder the game reads and writes its files in.
#include "app/game_folder.h"

#include <filesystem>

#include "ranking/ranking_file.h"
#include "stats/history_file.h"
#include "storage/folder_lock.h"
#include "storage/read.h"
#include "typing/word_data.h"

namespace app {

std::optional<std::string> ChooseGameFolder(const std::string& dirOption,
                                            const std::string& programFolder,
                                            const std::string& installedData,
                                            const storage::UserDirs& dirs, std::string& error) {
  if (!dirOption.empty()) return dirOption;
  if (storage::IsPlainFile(programFolder + "/back.bmp")) return programFolder;
  const std::string folder = storage::PerUserFolder(dirs);
  if (folder.empty()) {
    error = "no game folder: neither XDG_DATA_HOME nor HOME is set; use --dir DIR";
    return std::nullopt;
  }
  const std::string data = std::filesystem::path(installedData).lexically_normal().string();
  if (!storage::SeedFolder(folder, data, error)) return std::nullopt;
  return folder;
}

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
  return std::nullopt;
}

}  // namespace app
