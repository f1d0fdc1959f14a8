// The per-user game folder, and filling a new game folder with the installed files.
#pragma once

#include <string>

namespace storage {

// The environment that decides the per-user folder.
struct UserDirs {
  std::string xdgDataHome;    // $XDG_DATA_HOME, empty when unset
  std::string home;           // $HOME, empty when unset
  std::string xdgConfigHome;  // $XDG_CONFIG_HOME, empty when unset
};

UserDirs UserDirsFromEnvironment();

// $XDG_DATA_HOME/rapiko, or ~/.local/share/rapiko when XDG_DATA_HOME is unset
// or not absolute; empty when neither gives a folder.
std::string PerUserFolder(const UserDirs& dirs);

// $XDG_CONFIG_HOME/rapiko, or ~/.config/rapiko when XDG_CONFIG_HOME is
// unset or not absolute: where the settings file lives; empty when neither
// gives a folder.
std::string ConfigFolder(const UserDirs& dirs);

// The player's locale for messages: the first of LC_ALL, LC_MESSAGES and
// LANG that is set and not empty ("" when none is).
std::string UserLocale();

// The files a new game folder starts with; the ranking is made by the game.
constexpr const char* kSeedFiles[] = {"back.bmp", "rapdata.ini"};

// Makes folder if need be and copies into it each seed file of
// installedData that it lacks (files already there are kept). Each copy is
// put in place whole, through a new file of its own, so neither a copy cut
// short nor a link planted in the folder is ever used. False, with error
// set to one line naming the folder or file, on failure.
bool SeedFolder(const std::string& folder, const std::string& installedData, std::string& error);

}  // namespace storage
