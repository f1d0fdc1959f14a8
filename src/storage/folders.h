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

// Removes a file (never a folder); false when it cannot.
bool RemoveFile(const std::string& path);

// A folder of the process's own for a while (a replay's copy of the game
// folder), removed with the files in it when it goes.
class ScratchFolder {
 public:
  // Throws std::runtime_error with one line when none can be made.
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder, ending in '/'.
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace storage
