// Reading and writing a whole file at once: the one reader every file reader of the game shares.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace media {

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

// Writes bytes as the whole file at path, made or emptied first. Returns 0,
// or the errno of the first failure, the closing included.
int WriteWholeFile(const std::string& path, std::string_view bytes);

// prefix followed by kRandomNameLength random letters and digits: a name no
// one can plant a file or a link at ahead of time.
constexpr std::size_t kRandomNameLength = 12;
std::string UnguessableName(const std::string& prefix);

// Makes a new file at an UnguessableName(prefix), for writing, with permission bits mode (before
// the umask), and sets name to it. No one else can have made it or pointed it elsewhere: O_EXCL
// never opens what exists and never follows a link, and the name cannot be guessed. Returns its
// descriptor, or -1 with errno set.
int CreateNewFile(const std::string& prefix, uint32_t mode, std::string& name);

// Writes all of bytes to fd; false with errno set on a failure.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace media
