// Which folder the game reads and writes its files in.
#pragma once

#include <optional>
#include <string>

#include "storage/user_folder.h"

namespace app {

// The game folder: dirOption when given; else programFolder when it holds
// back.bmp (a portable copy or a build); else the per-user folder, created
// and seeded with copies of back.bmp and rapdata.ini from installedData
// (files already there are kept). A dirOption folder that does not exist or
// is empty is made and seeded the same way, from programFolder when it holds
// back.bmp, else from installedData; one that holds anything is taken as it
// is. On a fault (dirOption is not a folder, a folder or copy cannot be
// made) returns nothing and sets error to one line naming the folder or file.
std::optional<std::string> ChooseGameFolder(const std::string& dirOption,
                                            const std::string& programFolder,
                                            const std::string& installedData,
                                            const storage::UserDirs& dirs, std::string& error);

}  // namespace app
