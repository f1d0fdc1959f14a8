// The game folder's lock: an flock(2) lock on "rapikosc.ini.lock", waited for with a time limit.
#include "ranking/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace ranking {
namespace {

constexpr const char* kLockName = "rapikosc.ini.lock";

int64_t NowMs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return int64_t{t.tv_sec} * 1000 + t.tv_nsec / 1000000;
}

// Errors that mean the file system keeps no locks at all.
bool NoLocksHere(int error) { return error == ENOLCK || error == EOPNOTSUPP || error == ENOSYS; }

}  // namespace

FolderLock::FolderLock(const std::string& myPath) {
  const std::string path = myPath + kLockName;
  // Read access is enough for flock, so a lock file made by another player
  // serves too. Never through a link, and never blocking on a planted FIFO.
  const int fd = ::open(path.c_str(),
                        O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  if (fd < 0) {
    throw LockError("the lock file " + path + " cannot be opened: " + std::strerror(errno));
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    throw LockError("the lock file " + path + " is not a plain file");
  }
  const int64_t deadline = NowMs() + kWaitMs;
  for (;;) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      fd_ = fd;
      return;
    }
    const int error = errno;
    if (error == EINTR) continue;
    if (NoLocksHere(error)) break;
    if (error != EWOULDBLOCK || NowMs() > deadline) {
      ::close(fd);
      throw LockError(
          "the lock file " + path +
          (error == EWOULDBLOCK
               ? " is held by another game for over " + std::to_string(kWaitMs / 1000) + " s"
               : " cannot be locked: " + std::string(std::strerror(error))));
    }
    const timespec pause{0, 10 * 1000 * 1000};
    ::nanosleep(&pause, nullptr);
  }
  ::close(fd);
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);  // closing the only descriptor releases the lock
}

}  // namespace ranking
