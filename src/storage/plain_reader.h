// A plain file open for reading, as each system opens and reads it; the
// reading of whole files on top of it is the same everywhere.
#pragma once

#include <cstddef>
#include <cstdint>
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

}  // namespace storage
