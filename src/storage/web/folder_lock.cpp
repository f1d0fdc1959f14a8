// The game folder's lock in the web page: the browser's Web Locks, one lock for every tab.
#include "storage/folder_lock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "storage/errors.h"

// web/page_storage.js: each call waits for the browser, the page going on meanwhile.
extern "C" int rapiko_lock_try(const char* folder, int* handle);
extern "C" void rapiko_lock_release(int handle);

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

// rapiko_lock_try's answers.
constexpr int kHeld = 0;
constexpr int kOtherTab = 1;
constexpr int kNoWebLocks = 2;

}  // namespace

FolderLock::FolderLock(const std::string& myPath) {
  // The lock file is made and checked as on every other system, so a folder
  // whose lock file is something else fails alike everywhere.
  const std::string path = myPath + kLockFileName;
  const int fd =
      ::open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) {
    throw LockError("the lock file " + path + " cannot be opened: " + ErrorText(errno));
  }
  struct stat info {};
  const bool plain = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  ::close(fd);
  if (!plain) throw LockError("the lock file " + path + " is not a plain file");

  int held = -1;
  const LockAttempt attempt = WaitForLock(
      [&] {
        switch (rapiko_lock_try(myPath.c_str(), &held)) {
          case kHeld:
            return LockAttempt{LockTry::kLocked, 0};
          case kOtherTab:
            return LockAttempt{LockTry::kBusy, EWOULDBLOCK};
          case kNoWebLocks:
            return LockAttempt{LockTry::kNoLocks, ENOLCK};
          default:
            return LockAttempt{LockTry::kFailed, EIO};
        }
      },
      kWaitMs, NowMs, Pause);
  if (attempt.result == LockTry::kLocked) {
    handle_ = held;
    return;
  }
  if (attempt.result != LockTry::kNoLocks) throw LockError(LockFailure(path, attempt));
}

FolderLock::~FolderLock() {
  if (handle_ >= 0) rapiko_lock_release(static_cast<int>(handle_));
}

}  // namespace storage
