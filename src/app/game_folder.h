// Which folder the game reads and writes its files in.
#pragma once

#include <optional>
#include <string>

#include "storage/user_folder.h"

namespace app {

// The game folder: dirOption when given; else programFolder when it holds
// back.bmp (a portable copy or a build); else the per-user folder, created
// and seeded with copies of back.bmp and rapdata.ini from installedData
// (files already there are kept). On a fault returns nothing and sets error
// to one line naming the folder or file.
std::optional<std::string> ChooseGameFolder(const std::string& dirOption,
                                            const std::string& programFolder,
                                            const std::string& installedData,
                                            const storage::UserDirs& dirs, std::string& error);

// A run never writes over a file that the game itself reads or writes: when
// path is one of the game folder's files (the ranking, its backup and lock,
// the history, the word file, back.bmp) or the word file in play, the one
// line that says so; else nothing.
std::optional<std::string> ClashWithGameFiles(const std::string& path, const std::string& myPath,
                                              const std::string& wordFile);

}  // namespace app
