// Reading a whole file at once: the one loop that every file reader of the game shares.
#pragma once

#include <string>

namespace media {

struct FileRead {
  bool opened = false;    // false: the file could not be opened (error says why)
  bool complete = false;  // false: a read failed part way; bytes holds what came before
  int error = 0;          // errno of the failure, 0 when there was none
  std::string bytes;
};

FileRead ReadWholeFile(const std::string& path);

}  // namespace media
