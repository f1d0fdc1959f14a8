// Reading on POSIX systems: plain files only, opened without blocking; what a path is.
#include "storage/read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>

#include "storage/read_platform.h"

namespace storage {

PlainReader::PlainReader(const std::string& path, FileRead& r) {
  // Non-blocking, so that opening a FIFO returns at once; a plain file
  // reads the same either way.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    r.error = errno;
    return;
  }
  struct stat info {};
  const bool statted = ::fstat(fd, &info) == 0;
  if (!statted || !S_ISREG(info.st_mode)) {
    r.error = statted ? 0 : errno;
    r.notPlain = statted;
    ::close(fd);
    return;
  }
  r.opened = true;
  r.mode = info.st_mode & 0777;
  handle_ = fd;
}

PlainReader::~PlainReader() {
  if (Ok()) ::close(static_cast<int>(handle_));
}

long PlainReader::Read(char* buffer, std::size_t want, FileRead& r) {
  for (;;) {
    const ssize_t got = ::read(static_cast<int>(handle_), buffer, want);
    if (got >= 0) return static_cast<long>(got);
    if (errno != EINTR) {
      r.error = errno;
      return -1;
    }
  }
}

std::unique_ptr<std::istream> OpenStream(const std::string& path) {
  auto in = std::make_unique<std::ifstream>(path, std::ios::binary);
  if (!*in) return nullptr;
  return in;
}

bool Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

std::optional<FileIdentity> IdentityOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return FileIdentity{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
}

bool SameName(const std::string& a, const std::string& b) { return a == b; }

bool IsPlainFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace storage
