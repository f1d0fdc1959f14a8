// What decides the per-user folders and the locale on POSIX systems: the environment.
#include <cstdlib>

#include "storage/user_folder.h"

namespace storage {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

const char* const kNoUserDirs = "neither XDG_DATA_HOME nor HOME is set";
const char* const kPerUserFolderShown = "$XDG_DATA_HOME/rapiko or ~/.local/share/rapiko";
const char* const kConfigFolderShown = "~/.config/rapiko";

UserDirs UserDirsFromEnvironment() {
  return {Env("XDG_DATA_HOME"), Env("HOME"), Env("XDG_CONFIG_HOME"), ""};
}

// The environment is the locale's only record here.
std::string SystemLocale() { return ""; }

}  // namespace storage
