// Folders of the game: listing them, making them, removing what the game made in them.
#pragma once

#include <string>
#include <vector>

namespace storage {

// The names in a folder (without "." and ".."), sorted; empty when it cannot
// be read.
std::vector<std::string> ListFolder(const std::string& folder);

// Makes the folder (and its parents) unless it is there. 0, or the errno of
// the failure: ENOTDIR when something else than a folder (a link among them)
// is at the folder's own name.
int MakeFolder(const std::string& folder);

// Whether a folder itself is at the name, not a link to one (nor a junction):
// the game sweeps, prunes and writes only in folders of its own, so that no
// link planted among them sends a removal elsewhere.
bool IsOwnFolder(const std::string& folder);

// Removes a file (never a folder); false when it cannot.
bool RemoveFile(const std::string& path);

}  // namespace storage
