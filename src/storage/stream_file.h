// A file written as the game goes: every write reaches the system at once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace storage {

// A recording is written a line at a time while it is played, each line
// handed to the system as it is written, so a game that is killed still
// leaves every line before the kill. A line may be written again in its
// place, longer (a run of passes that grows).
class StreamFile {
 public:
  StreamFile() = default;
  ~StreamFile();
  StreamFile(const StreamFile&) = delete;
  StreamFile& operator=(const StreamFile&) = delete;

  // Makes the file at path new, in place of the plain file there (removed,
  // so that its other names keep their bytes): never through a link, never
  // a FIFO or a device, never blocking. 0, or the errno (ELOOP for a link,
  // EISDIR for a folder, kNotPlainFile for anything else).
  int Open(const std::string& path);
  // Writes bytes at offset, over what is there (the file grows as needed).
  // 0, or the errno of the failed write.
  int WriteAt(uint64_t offset, std::string_view bytes);
  // 0, or the errno of the last failure of closing.
  int Close();

 private:
  intptr_t handle_ = -1;
};

}  // namespace storage
