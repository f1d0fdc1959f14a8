// A file written as the game goes, on POSIX systems: each write goes to the system at once.
#include "storage/stream_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "storage/errors.h"
#include "storage/write.h"

namespace storage {

StreamFile::~StreamFile() { Close(); }

int StreamFile::Open(const std::string& path) {
  Close();
  // Emptied only once it is known to be a plain file: a FIFO is never
  // waited on, a device never truncated.
  const int fd =
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
             static_cast<mode_t>(kNewFileMode));
  // A FIFO without a reader cannot be opened without blocking (ENXIO).
  if (fd < 0) return errno == ENXIO ? kNotPlainFile : errno;
  struct stat info {};
  const bool statted = ::fstat(fd, &info) == 0;
  int error = !statted ? errno : !S_ISREG(info.st_mode) ? kNotPlainFile : 0;
  if (error == 0 && ::ftruncate(fd, 0) != 0) error = errno;
  if (error != 0) {
    ::close(fd);
    return error;
  }
  handle_ = fd;
  return 0;
}

int StreamFile::WriteAt(uint64_t offset, std::string_view bytes) {
  if (handle_ < 0) return EBADF;
  while (!bytes.empty()) {
    const ssize_t n =
        ::pwrite(static_cast<int>(handle_), bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return ENOSPC;
    bytes.remove_prefix(static_cast<std::size_t>(n));
    offset += static_cast<uint64_t>(n);
  }
  return 0;
}

int StreamFile::Close() {
  if (handle_ < 0) return 0;
  const int result = ::close(static_cast<int>(handle_)) == 0 ? 0 : errno;
  handle_ = -1;
  return result;
}

}  // namespace storage
