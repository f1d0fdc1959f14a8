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
  // A plain file at the name is replaced, never written into: its other
  // names (a hard link to a ranking, say) keep their bytes. Made anew and
  // exclusively, so nothing planted at the name meanwhile is opened; a
  // link is refused, a FIFO never waited on, a device never truncated.
  for (int attempt = 0; attempt < 100; ++attempt) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0) {
      if (S_ISLNK(info.st_mode)) return ELOOP;
      if (S_ISDIR(info.st_mode)) return EISDIR;
      if (!S_ISREG(info.st_mode)) return kNotPlainFile;
      if (::unlink(path.c_str()) != 0 && errno != ENOENT) return errno;
    }
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC,
               static_cast<mode_t>(kNewFileMode));
    if (fd >= 0) {
      handle_ = fd;
      return 0;
    }
    if (errno != EEXIST) return errno;
  }
  return EEXIST;
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
