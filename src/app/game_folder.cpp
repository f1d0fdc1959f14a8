// Which folder the game reads and writes its files in.
#include "app/game_folder.h"

#include "storage/folders.h"
#include "storage/paths.h"
#include "storage/read.h"
#include "storage/write.h"

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
                                            const FolderPlaces& places, std::string& error) {
  const std::string& program = places.programFolder;
  const bool portable = storage::IsPlainFile(storage::JoinPath(program, "back.bmp"));
  // A portable copy's own files start a new folder, else the installed ones.
  const std::string data = portable ? program : storage::NormalPath(places.installedData);
  if (!dirOption.empty()) return NamedFolder(dirOption, data, error);
  if (portable) {
    const auto canWrite = places.canWrite ? places.canWrite : [](const std::string& folder) {
      return storage::CheckCanCreate(storage::FolderPath(folder)) == 0;
    };
    if (!places.programFolderMustBeWritable || canWrite(program)) return program;
  }
  const std::string folder = storage::PerUserFolder(places.dirs);
  if (folder.empty()) {
    error = std::string("no game folder: ") + storage::kNoUserDirs + "; use --dir DIR";
    return std::nullopt;
  }
  if (!storage::SeedFolder(folder, data, error)) return std::nullopt;
  return folder;
}

std::string SettingsFolder(const std::string& gameFolder, const FolderPlaces& places) {
  if (places.portableCopyKeepsSettings && gameFolder == places.programFolder) return gameFolder;
  return storage::ConfigFolder(places.dirs);
}

}  // namespace app
