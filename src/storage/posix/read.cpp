// Reading whole files on POSIX systems: plain files only, opened without blocking.
#include "storage/read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>

#include "storage/paths.h"

namespace storage {

namespace {

// Opens the plain file at path for reading, without blocking: -1 with r
// saying why when it cannot be, or is not a plain file.
int OpenPlain(const std::string& path, FileRead& r) {
  // Non-blocking, so that opening a FIFO returns at once; a plain file
  // reads the same either way.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    r.error = errno;
    return -1;
  }
  struct stat info {};
  const bool statted = ::fstat(fd, &info) == 0;
  if (!statted || !S_ISREG(info.st_mode)) {
    r.error = statted ? 0 : errno;
    r.notPlain = statted;
    ::close(fd);
    return -1;
  }
  r.opened = true;
  r.mode = info.st_mode & 0777;
  return fd;
}

// One read of at most `want` bytes into buffer: the count, 0 at the end, -1
// with r.error set on a failure.
ssize_t ReadSome(int fd, char* buffer, std::size_t want, FileRead& r) {
  for (;;) {
    const ssize_t got = ::read(fd, buffer, want);
    if (got >= 0) return got;
    if (errno != EINTR) {
      r.error = errno;
      return -1;
    }
  }
}

}  // namespace

FileRead ReadWholeFile(const std::string& path, std::size_t maxBytes) {
  FileRead r;
  const int fd = OpenPlain(path, r);
  if (fd < 0) return r;
  char chunk[65536];
  for (;;) {
    // One byte past the limit tells a file of exactly the limit from a larger one.
    const std::size_t want = std::min(sizeof chunk, maxBytes + 1 - r.bytes.size());
    const ssize_t got = ReadSome(fd, chunk, want, r);
    if (got < 0) break;
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

FileRead ReadInPieces(const std::string& path, std::size_t pieceBytes,
                      const std::function<void(std::string_view)>& take) {
  FileRead r;
  const int fd = OpenPlain(path, r);
  if (fd < 0) return r;
  std::string piece(pieceBytes, '\0');
  for (;;) {
    const ssize_t got = ReadSome(fd, piece.data(), piece.size(), r);
    if (got < 0) break;
    if (got == 0) {
      r.complete = true;
      break;
    }
    take(std::string_view(piece.data(), static_cast<std::size_t>(got)));
  }
  ::close(fd);
  return r;
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

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {};
  struct stat sb {};
  if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0) {
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  }
  return NameOf(a) == NameOf(b) && ::stat(FolderOf(a).c_str(), &sa) == 0 &&
         ::stat(FolderOf(b).c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
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
