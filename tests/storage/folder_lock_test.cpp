// The game folder's lock: the wait with its time limit, what is said (one holder at a time:
// SharedFolder, and on Windows another program holding it).
#include "storage/folder_lock.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

#include "storage/errors.h"

namespace storage {
namespace {

// The wait, on a clock of its own that moves 7 ms a pause, from 1000: it tries until the lock
// is had, the file system turns out to keep none, a try fails, or the time is up.
TEST(WaitForLock, TriesUntilAnAnswerOrPastTheDeadline) {
  constexpr LockTry kLocked = LockTry::kLocked, kBusy = LockTry::kBusy;
  const struct {
    std::vector<LockTry> tries;  // what each try finds; the last one repeats
    int64_t waitMs;
    LockTry result;
    int tried;
  } cases[] = {
      {{kLocked}, 70, kLocked, 1},
      {{kBusy, kBusy, kLocked}, 70, kLocked, 3},
      {{kBusy, LockTry::kNoLocks}, 70, LockTry::kNoLocks, 2},
      {{kBusy, LockTry::kFailed}, 70, LockTry::kFailed, 2},
      {{kBusy}, 70, kBusy, 12},  // at 1000, 1007, ..., 1070 (the deadline: tried again), 1077
      {{kBusy}, 0, kBusy, 2},    // no wait: one more try after the first
  };
  for (const auto& c : cases) {
    int64_t now = 1000;
    int tried = 0;
    const LockAttempt a = WaitForLock(
        [&] {
          const LockTry t = c.tries[std::min<size_t>(size_t(tried++), c.tries.size() - 1)];
          return LockAttempt{t, t == LockTry::kFailed ? EIO : 0};
        },
        c.waitMs, [&] { return now; }, [&] { now += 7; });
    EXPECT_EQ(a.result, c.result) << c.tried;
    EXPECT_EQ(a.error, c.result == LockTry::kFailed ? EIO : 0) << c.tried;
    EXPECT_EQ(tried, c.tried);
    EXPECT_EQ(now, 1000 + 7 * (c.tried - 1)) << c.tried;  // no pause after the last try
  }
}

TEST(LockFailure, SaysWhyInOneLine) {
  EXPECT_EQ(LockFailure("d/rapikosc.ini.lock", {LockTry::kBusy, EWOULDBLOCK}),
            "the lock file d/rapikosc.ini.lock is held by another game for over 20 s");
  EXPECT_EQ(LockFailure("d/rapikosc.ini.lock", {LockTry::kFailed, EACCES}),
            "the lock file d/rapikosc.ini.lock cannot be locked: " + ErrorText(EACCES));
}

}  // namespace
}  // namespace storage
