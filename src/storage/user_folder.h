// The per-user game folder, and filling a new game folder with the installed files.
#pragma once

#include <string>

namespace storage {

// The folders of the system that decide the per-user folders.
struct UserDirs {
  std::string xdgDataHome{};    // $XDG_DATA_HOME, empty when unset
  std::string home{};           // $HOME, empty when unset
  std::string xdgConfigHome{};  // $XDG_CONFIG_HOME, empty when unset
  std::string appData{};        // Windows: the roaming application data folder; empty elsewhere
};

// On Windows the application data folder alone; elsewhere the environment.
UserDirs UserDirsFromEnvironment();

// Why UserDirsFromEnvironment gives no per-user folder, in a few words.
extern const char* const kNoUserDirs;
// The per-user folder and the settings' folder as the help names them.
extern const char* const kPerUserFolderShown;
extern const char* const kConfigFolderShown;

// APPDATA\Rapiko on Windows; elsewhere $XDG_DATA_HOME/rapiko, or
// ~/.local/share/rapiko when XDG_DATA_HOME is unset or not absolute; empty
// when neither gives a folder.
std::string PerUserFolder(const UserDirs& dirs);

// Where the settings file lives: APPDATA\Rapiko on Windows, beside the
// results; elsewhere $XDG_CONFIG_HOME/rapiko, or ~/.config/rapiko when
// XDG_CONFIG_HOME is unset or not absolute; empty when neither gives a
// folder.
std::string ConfigFolder(const UserDirs& dirs);

// The player's locale for messages: the first of LC_ALL, LC_MESSAGES and
// LANG that is set and not empty; else SystemLocale().
std::string UserLocale();
// Each system's side: the locale of the system's own texts, where it keeps
// one apart from the environment (Windows: "fr-FR"); else "".
std::string SystemLocale();

// The files a new game folder starts with; the ranking is made by the game.
constexpr const char* kSeedFiles[] = {"back.bmp", "rapdata.ini"};

// Makes folder if need be and copies into it each seed file of
// installedData that it lacks (files already there are kept). Each copy is
// put in place whole, through a new file of its own, so neither a copy cut
// short nor a link planted in the folder is ever used. False, with error
// set to one line naming the folder or file, on failure.
bool SeedFolder(const std::string& folder, const std::string& installedData, std::string& error);

}  // namespace storage
