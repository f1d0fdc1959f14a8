// The game folder's lock: the wait with a time limit, and what is said when it runs out.
#include "storage/folder_lock.h"

#include "storage/errors.h"

namespace storage {

LockAttempt WaitForLock(const std::function<LockAttempt()>& tryOnce, int64_t waitMs,
                        const std::function<int64_t()>& nowMs, const std::function<void()>& pause) {
  const int64_t deadline = nowMs() + waitMs;
  for (;;) {
    const LockAttempt attempt = tryOnce();
    if (attempt.result != LockTry::kBusy || nowMs() > deadline) return attempt;
    pause();
  }
}

std::string LockFailure(const std::string& lockPath, const LockAttempt& attempt) {
  if (attempt.result == LockTry::kBusy) {
    return "the lock file " + lockPath + " is held by another game for over " +
           std::to_string(FolderLock::kWaitMs / 1000) + " s";
  }
  return "the lock file " + lockPath + " cannot be locked: " + ErrorText(attempt.error);
}

}  // namespace storage
