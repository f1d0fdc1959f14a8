// Reading and writing a whole file at once: the one reader every file reader of the game shares.
#include "media/files.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <string_view>

namespace media {

std::string FileRead::Problem(std::size_t maxBytes) const {
  if (notPlain) return "not a plain file";
  if (tooLarge) return "larger than " + std::to_string(maxBytes) + " bytes";
  if (error != 0) return std::strerror(error);
  return "";
}

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

int WriteWholeFile(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  int error = 0;
  while (!bytes.empty() && error == 0) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n > 0) bytes.remove_prefix(static_cast<std::size_t>(n));
    if (n == 0) error = ENOSPC;
    if (n < 0 && errno != EINTR) error = errno;
  }
  if (::close(fd) != 0 && error == 0) error = errno;
  return error;
}

namespace {

std::string RandomSuffix() {
  static constexpr std::string_view kChars =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char raw[kRandomNameLength];
  if (::getrandom(raw, sizeof raw, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof raw)) {
    // No random numbers yet (early at boot): the clock still makes a name
    // no one can plant ahead of time.
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    uint64_t x = uint64_t(t.tv_nsec) ^ (uint64_t(t.tv_sec) << 30) ^ uint64_t(::getpid()) << 20;
    for (unsigned char& c : raw) {
      x = x * 6364136223846793005u + 1442695040888963407u;
      c = static_cast<unsigned char>(x >> 56);
    }
  }
  std::string suffix;
  for (const unsigned char c : raw) suffix += kChars[c % kChars.size()];
  return suffix;
}

}  // namespace

std::string UnguessableName(const std::string& prefix) { return prefix + RandomSuffix(); }

int CreateNewFile(const std::string& prefix, uint32_t mode, std::string& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = UnguessableName(prefix);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          static_cast<mode_t>(mode));
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = ENOSPC;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace media
