// Reading whole files on POSIX systems: plain files only, opened without blocking.
#include "storage/read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>

namespace storage {

FileRead ReadWholeFile(const std::string& path, std::size_t maxBytes) {
  FileRead r;
  // Non-blocking, so that opening a FIFO returns at once; a plain file
  // reads the same either way.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    r.error = errno;
    return r;
  }
  struct stat info {};
  const bool statted = ::fstat(fd, &info) == 0;
  if (!statted || !S_ISREG(info.st_mode)) {
    r.error = statted ? 0 : errno;
    r.notPlain = statted;
    ::close(fd);
    return r;
  }
  r.opened = true;
  r.mode = info.st_mode & 0777;
  char chunk[65536];
  for (;;) {
    // One byte past the limit tells a file of exactly the limit from a larger one.
    const std::size_t want = std::min(sizeof chunk, maxBytes + 1 - r.bytes.size());
    const ssize_t got = ::read(fd, chunk, want);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      r.error = errno;
      break;
    }
    if (got == 0) {
      r.complete = true;
      break;
    }
    r.bytes.append(chunk, static_cast<std::size_t>(got));
    if (r.bytes.size() > maxBytes) {
      r.bytes.resize(maxBytes);
      r.tooLarge = true;
      break;
    }
  }
  ::close(fd);
  return r;
}

std::unique_ptr<std::istream> OpenStream(const std::string& path) {
  auto in = std::make_unique<std::ifstream>(path, std::ios::binary);
  if (!*in) return nullptr;
  return in;
}

bool IsPlainFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace storage
