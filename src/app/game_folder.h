// Which folder the game reads and writes its files in, and setting up the per-user one.
#pragma once

#include <optional>
#include <string>

namespace app {

// The environment that decides the per-user folder.
struct UserDirs {
  std::string xdgDataHome;  // $XDG_DATA_HOME, empty when unset
  std::string home;         // $HOME, empty when unset
};

UserDirs UserDirsFromEnvironment();

// $XDG_DATA_HOME/rapiko, or ~/.local/share/rapiko when XDG_DATA_HOME is unset
// or not absolute; empty when neither gives a folder.
std::string PerUserFolder(const UserDirs& dirs);

// The game folder: dirOption when given; else programFolder when it holds
// back.bmp (a portable copy or a build); else the per-user folder, created
// and seeded with copies of back.bmp and rapdata.ini from installedData
// (files already there are kept). On a fault returns nothing and sets error
// to one line naming the folder or file.
std::optional<std::string> ChooseGameFolder(const std::string& dirOption,
                                            const std::string& programFolder,
                                            const std::string& installedData, const UserDirs& dirs,
                                            std::string& error);

}  // namespace app
