// The per-user game folder, and filling a new game folder with the installed files.
#include "storage/user_folder.h"

#include <cerrno>
#include <cstdlib>

#include "storage/errors.h"
#include "storage/folders.h"
#include "storage/read.h"
#include "storage/write.h"

namespace storage {
namespace {

// Larger than any file the game starts with; the game reads each with its own limit.
constexpr std::size_t kMaxSeedBytes = std::size_t{64} << 20;

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string Join(const std::string& folder, const std::string& name) {
  return !folder.empty() && folder.back() == '/' ? folder + name : folder + "/" + name;
}

}  // namespace

UserDirs UserDirsFromEnvironment() {
  return {Env("XDG_DATA_HOME"), Env("HOME"), Env("XDG_CONFIG_HOME")};
}

std::string PerUserFolder(const UserDirs& dirs) {
  // The XDG rules: a relative XDG_DATA_HOME is invalid and ignored.
  if (!dirs.xdgDataHome.empty() && dirs.xdgDataHome.front() == '/') {
    return Join(dirs.xdgDataHome, "rapiko");
  }
  if (!dirs.home.empty()) return Join(dirs.home, ".local/share/rapiko");
  return "";
}

std::string ConfigFolder(const UserDirs& dirs) {
  if (!dirs.xdgConfigHome.empty() && dirs.xdgConfigHome.front() == '/') {
    return Join(dirs.xdgConfigHome, "rapiko");
  }
  if (!dirs.home.empty()) return Join(dirs.home, ".config/rapiko");
  return "";
}

std::string UserLocale() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    if (const std::string value = Env(name); !value.empty()) return value;
  }
  return "";
}

bool SeedFolder(const std::string& folder, const std::string& installedData, std::string& error) {
  if (const int e = MakeFolder(folder)) {
    error = "cannot create the game folder " + folder + ": " + ErrorText(e);
    return false;
  }
  for (const char* name : kSeedFiles) {
    const std::string to = Join(folder, name);
    const std::string from = Join(installedData, name);
    if (IsPlainFile(to) || !IsPlainFile(from)) continue;
    const FileRead source = ReadWholeFile(from, kMaxSeedBytes);
    int failure = source.notPlain ? kNotPlainFile : source.tooLarge ? EFBIG : source.error;
    if (source.complete) {
      const WriteResult written = ReplaceFile(to, source.bytes);
      // A folder that cannot be synced still holds the copy.
      failure = written.step == WriteResult::Step::kFolderSync ? 0 : written.error;
    }
    if (failure != 0) {
      error = "cannot copy " + from + " to " + to + ": " + ErrorText(failure);
      return false;
    }
  }
  return true;
}

}  // namespace storage
