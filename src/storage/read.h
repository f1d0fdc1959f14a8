// Reading whole files, and asking what a path is: never blocking, never past a size limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <string>
#include <string_view>

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

// Reads the plain file at path whole, whatever its size, in pieces of at
// most pieceBytes handed to take in order: for files that may grow past any
// sensible limit (the history of rounds). Refuses what ReadWholeFile
// refuses; the FileRead says how it went, its bytes stay empty.
FileRead ReadInPieces(const std::string& path, std::size_t pieceBytes,
                      const std::function<void(std::string_view)>& take);

// A stream over whatever is at path, read as it comes (a script may come
// through a pipe); nullptr when it cannot be opened.
std::unique_ptr<std::istream> OpenStream(const std::string& path);

// Whether anything is at path, a link (even one to nowhere) included.
bool Exists(const std::string& path);

// Whether two paths name the same file: the same file on disk when both
// are there (a link to a file is that file), else the same name in the same
// folder.
bool SameFile(const std::string& a, const std::string& b);

// What is at a path, following links as reading does.
bool IsPlainFile(const std::string& path);
bool IsFolder(const std::string& path);

}  // namespace storage
