// Which folder the game reads and writes its files in.
#include "app/game_folder.h"

#include <filesystem>

#include "storage/folders.h"
#include "storage/read.h"

namespace app {
namespace {

// A folder named with --dir is filled only when it is new or empty: one that
// holds anything else is the player's, and a mistyped --dir (a home folder)
// gets nothing added; the missing back.bmp then says what is wrong.
std::optional<std::string> NamedFolder(const std::string& dir, const std::string& seedFrom,
                                       std::string& error) {
  if (storage::Exists(dir) && !storage::IsFolder(dir)) {
    error = "--dir " + dir + " is not a folder";
    return std::nullopt;
  }
  const bool fresh = !storage::Exists(dir) || storage::ListFolder(dir).empty();
  if (fresh && !storage::SeedFolder(dir, seedFrom, error)) return std::nullopt;
  return dir;
}

}  // namespace

std::optional<std::string> ChooseGameFolder(const std::string& dirOption,
                                            const std::string& programFolder,
                                            const std::string& installedData,
                                            const storage::UserDirs& dirs, std::string& error) {
  const bool portable = storage::IsPlainFile(programFolder + "/back.bmp");
  const std::string data = std::filesystem::path(installedData).lexically_normal().string();
  if (!dirOption.empty()) return NamedFolder(dirOption, portable ? programFolder : data, error);
  if (portable) return programFolder;
  const std::string folder = storage::PerUserFolder(dirs);
  if (folder.empty()) {
    error = "no game folder: neither XDG_DATA_HOME nor HOME is set; use --dir DIR";
    return std::nullopt;
  }
  if (!storage::SeedFolder(folder, data, error)) return std::nullopt;
  return folder;
}

}  // namespace app
