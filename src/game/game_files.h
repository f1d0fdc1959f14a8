// The files the game keeps in its folder, which no run may write over.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace game {

// A run never writes over a file that the game itself reads or writes: when
// path is one of the game folder's files (the ranking, its backup and lock,
// the history, the word file, back.bmp, a file in rankings/, words/ or
// replays/, a shipped list of listFolders), the word file in play or the
// player's settings files (the choices', the online tokens'), by any of its
// names, the one line that says so; else nothing.
std::optional<std::string> ClashWithGameFiles(const std::string& path, const std::string& myPath,
                                              const std::string& wordFile,
                                              const std::vector<std::string>& settingsFiles = {},
                                              const std::vector<std::string>& listFolders = {});

}  // namespace game
