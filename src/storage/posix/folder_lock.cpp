// The game folder's lock on POSIX systems: an flock(2) lock on "rapikosc.ini.lock".
#include "storage/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "storage/errors.h"

namespace storage {
namespace {

int64_t NowMs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return int64_t{t.tv_sec} * 1000 + t.tv_nsec / 1000000;
}

void Pause() {
  const timespec pause{0, 10 * 1000 * 1000};
  ::nanosleep(&pause, nullptr);
}

LockAttempt TryFlock(int fd) {
  for (;;) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return {LockTry::kLocked, 0};
    const int error = errno;
    if (error == EINTR) continue;
    if (error == EWOULDBLOCK) return {LockTry::kBusy, error};
    // Errors that mean the file system keeps no locks at all.
    if (error == ENOLCK || error == EOPNOTSUPP || error == ENOSYS)
      return {LockTry::kNoLocks, error};
    return {LockTry::kFailed, error};
  }
}

}  // namespace

FolderLock::FolderLock(const std::string& myPath) {
  const std::string path = myPath + kLockFileName;
  // Read access is enough for flock, so a lock file made by another player
  // serves too. Never through a link, and never blocking on a planted FIFO.
  const int fd = ::open(path.c_str(),
                        O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  if (fd < 0) {
    throw LockError("the lock file " + path + " cannot be opened: " + ErrorText(errno));
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    throw LockError("the lock file " + path + " is not a plain file");
  }
  const LockAttempt attempt = WaitForLock([fd] { return TryFlock(fd); }, kWaitMs, NowMs, Pause);
  if (attempt.result == LockTry::kLocked) {
    handle_ = fd;
    return;
  }
  ::close(fd);
  if (attempt.result != LockTry::kNoLocks) throw LockError(LockFailure(path, attempt));
}

FolderLock::~FolderLock() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));  // closing the only descriptor unlocks
}

}  // namespace storage
