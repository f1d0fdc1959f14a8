// The per-user game folder, and filling a new game folder with the installed files.
#include "storage/user_folder.h"

#include <cerrno>
#include <cstdlib>

#include "storage/errors.h"
#include "storage/folders.h"
#include "storage/paths.h"
#include "storage/read.h"
#include "storage/write.h"

namespace storage {
namespace {

// Larger than any file the game starts with; the game reads each with its own limit.
constexpr std::size_t kMaxSeedBytes = std::size_t{64} << 20;

// Windows keeps a program's files for a player in one folder of its own.
constexpr const char* kWindowsFolderName = "Rapiko";

}  // namespace

std::string PerUserFolder(const UserDirs& dirs) {
  if (!dirs.appData.empty()) return JoinPath(dirs.appData, kWindowsFolderName);
  // The XDG rules: a relative XDG_DATA_HOME is invalid and ignored.
  if (!dirs.xdgDataHome.empty() && dirs.xdgDataHome.front() == '/') {
    return JoinPath(dirs.xdgDataHome, "rapiko");
  }
  if (!dirs.home.empty()) return JoinPath(dirs.home, ".local/share/rapiko");
  return "";
}

std::string UserLocale() {
  // A player (or a test) who sets one of the variables chooses by it, on every system.
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    if (const char* value = std::getenv(name); value && *value) return value;
  }
  return SystemLocale();
}

std::string ConfigFolder(const UserDirs& dirs) {
  // Windows keeps the settings beside the results.
  if (!dirs.appData.empty()) return JoinPath(dirs.appData, kWindowsFolderName);
  if (!dirs.xdgConfigHome.empty() && dirs.xdgConfigHome.front() == '/') {
    return JoinPath(dirs.xdgConfigHome, "rapiko");
  }
  if (!dirs.home.empty()) return JoinPath(dirs.home, ".config/rapiko");
  return "";
}

bool SeedFolder(const std::string& folder, const std::string& installedData, std::string& error) {
  if (const int e = MakeFolder(folder)) {
    error = "cannot create the game folder " + folder + ": " + ErrorText(e);
    return false;
  }
  for (const char* name : kSeedFiles) {
    const std::string to = JoinPath(folder, name);
    const std::string from = JoinPath(installedData, name);
    if (IsPlainFile(to) || !IsPlainFile(from)) continue;
    const FileRead source = ReadWholeFile(from, kMaxSeedBytes);
    int failure = source.notPlain ? kNotPlainFile : source.tooLarge ? EFBIG : source.error;
    if (source.complete) {
      failure = ReplaceFile(to, source.bytes).Failure();
    }
    if (failure != 0) {
      error = "cannot copy " + from + " to " + to + ": " + ErrorText(failure);
      return false;
    }
  }
  return true;
}

}  // namespace storage
