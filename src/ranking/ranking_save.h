// Saving the ranking file: under the folder lock, merged with what other games saved, never lost.
#pragma once

#include <stdexcept>
#include <string>

#include "state/game_state.h"

namespace ranking {

// A save that failed, or whose outcome is not certain: one line saying which.
class SaveError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Saves this game's changes to the ranking: under the folder lock it reads
// the file as it is now, enters g.unsavedResults into it by the insertion
// rule, takes g.entryName as the last name only when g.unsavedName, and
// replaces the file with a complete, synced new one (keeping its permission
// bits, and a damaged file's bytes as rapikosc.ini.bak). Then g holds the
// ranking as saved and nothing unsaved. A file that exists but cannot be
// read is never overwritten. Throws SaveError; the old file is then intact,
// unless the message says the new one is in place.
void SaveRanking(state::GameState& g, const std::string& myPath);

// Throws SaveError, naming the folder, when no file can be made in it, so
// that a game which could never save says so before it is played.
void CheckFolderWritable(const std::string& myPath);

}  // namespace ranking
