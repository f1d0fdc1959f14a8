// The game folder's lock: one game at a time changes the files that the games of a folder share.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

namespace storage {

// Why the lock could not be had: one line naming the lock file and the cause.
class LockError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The lock's file in every game folder.
constexpr const char* kLockFileName = "rapikosc.ini.lock";

// An exclusive lock on a game folder, held while a game reads, changes and
// writes back a file that other games in the same folder may change too (the
// ranking, the round history, the best rounds; the settings, in their own
// folder, which on Windows is the game folder itself). It locks the file
// "rapikosc.ini.lock" in the folder, created on first use and never removed,
// so it keeps working while the shared files themselves are replaced by
// rename.
//
//     {
//       storage::FolderLock lock(myPath);  // waits while another game holds it
//       ... read the shared file, change it, replace it or append to it ...
//     }                                    // released here
//
// Hold it for a few file operations only, never while waiting for the player,
// and never twice at once in one process: a second lock on the same folder
// waits for the first just as another game would.
//
// Where the file system has no locks (some network file systems) the holder
// goes ahead unlocked; Held() then says false.
class FolderLock {
 public:
  // How long a game waits for another game's lock before giving up.
  static constexpr int kWaitMs = 20000;

  // myPath is the game folder ending in '/'. Throws LockError when the lock
  // file cannot be opened or is not a plain file, or when another game holds
  // the lock for longer than kWaitMs.
  explicit FolderLock(const std::string& myPath);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  bool Held() const { return handle_ >= 0; }

 private:
  intptr_t handle_ = -1;  // the open lock file, -1 when not held
};

// One try at the lock, and what it found.
enum class LockTry { kLocked, kBusy, kNoLocks, kFailed };
struct LockAttempt {
  LockTry result = LockTry::kFailed;
  int error = 0;  // errno when kFailed
};

// The waiting every platform's lock shares: tries until the lock is had, the
// file system turns out to keep no locks, a try fails, or waitMs have passed
// on the clock nowMs (pausing with pause between tries). Returns the last
// attempt: kBusy means the wait ran out.
LockAttempt WaitForLock(const std::function<LockAttempt()>& tryOnce, int64_t waitMs,
                        const std::function<int64_t()>& nowMs, const std::function<void()>& pause);

// The message of a lock that could not be had.
std::string LockFailure(const std::string& lockPath, const LockAttempt& attempt);

}  // namespace storage
