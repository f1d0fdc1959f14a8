// Which folder the game reads and writes its files in.
#include "app/game_folder.h"

#include <filesystem>

#include "storage/read.h"

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

}  // namespace app
