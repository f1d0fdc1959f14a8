// What each system supplies to reading: a plain file open for reading,
// a file's identity on its disk, whether two names are one. Reading whole
// files and telling whether two paths are the same file, on top of them, are
// the same everywhere (read.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace storage {

struct FileRead;

class PlainReader {
 public:
  // Opens the plain file at path, following links as reading does, never
  // waiting (on a FIFO or a device). When it cannot be opened, or is not a
  // plain file, Ok() is false and r says why; else r.opened and r.mode are set.
  PlainReader(const std::string& path, FileRead& r);
  ~PlainReader();
  PlainReader(const PlainReader&) = delete;
  PlainReader& operator=(const PlainReader&) = delete;

  bool Ok() const { return handle_ != kClosed; }

  // One read of at most want bytes into buffer: the count, 0 at the end,
  // -1 with r.error set on a failure.
  long Read(char* buffer, std::size_t want, FileRead& r);

 private:
  static constexpr intptr_t kClosed = -1;  // the invalid value of both a descriptor and a HANDLE
  intptr_t handle_ = kClosed;
};

// What tells a file from every other: its volume and its number there.
struct FileIdentity {
  uint64_t volume = 0;
  uint64_t file = 0;
  bool operator==(const FileIdentity&) const = default;
};

// The identity of what is at path, following links (a link to a file is
// that file); none when nothing is there or it cannot be asked.
std::optional<FileIdentity> IdentityOf(const std::string& path);

// Whether two names of files name the same one within a folder (Windows
// sees no difference in the case of letters).
bool SameName(const std::string& a, const std::string& b);

}  // namespace storage
