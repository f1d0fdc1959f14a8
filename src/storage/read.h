// Reading whole files, and asking what a path is: never blocking, never past a size limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <string>

namespace storage {

struct FileRead {
  bool opened = false;    // false: missing, unreadable or not a plain file (Problem() says which)
  bool complete = false;  // false: a read failed part way or the file passed the size limit;
                          // bytes holds what came before
  bool notPlain = false;  // a folder, FIFO, device or socket: refused without reading
  bool tooLarge = false;  // larger than the limit; bytes holds the limit's worth
  int error = 0;          // errno of a failed open or read, 0 when there was none
  uint32_t mode = 0;      // the file's permission bits, once opened
  std::string bytes;

  // What went wrong, in a few words ("No such file or directory", "not a
  // plain file", ...); empty when the whole file was read.
  std::string Problem(std::size_t maxBytes) const;
};

// Reads the plain file at path, at most maxBytes of it. Anything else (a
// FIFO, a device, a folder) is refused at once, never waited on.
FileRead ReadWholeFile(const std::string& path, std::size_t maxBytes);

// A stream over whatever is at path, read as it comes (a script may come
// through a pipe); nullptr when it cannot be opened.
std::unique_ptr<std::istream> OpenStream(const std::string& path);

// What is at a path, following links as reading does.
bool IsPlainFile(const std::string& path);
bool IsFolder(const std::string& path);

}  // namespace storage
