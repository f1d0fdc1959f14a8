// The game folder's lock: one holder at a time, the wait with its time limit, what is said.
#include "storage/folder_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "storage/errors.h"
#include "support/game_dir.h"

namespace {

using storage::LockAttempt;
using storage::LockTry;

// A second lock on the folder, even in the same program, waits for the first.
TEST(FolderLock, ASecondLockWaitsUntilTheFirstIsReleased) {
  testing_support::GameDir dir("");
  const std::string myPath = dir.Path() + "/";
  auto first = std::make_unique<storage::FolderLock>(myPath);
  ASSERT_TRUE(first->Held());
  std::atomic<bool> second{false};
  std::thread waiter([&] {
    storage::FolderLock lock(myPath);
    second = lock.Held();
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(second) << "had the lock while another held it";
  first.reset();
  waiter.join();
  EXPECT_TRUE(second);
  EXPECT_TRUE(dir.Exists(storage::kLockFileName));  // kept for the next game
}

// The wait, on a clock of its own: tries until the lock is had, the file
// system turns out to keep none, a try fails, or the time is up.
TEST(WaitForLock, TriesUntilAnAnswerOrTheTimeIsUp) {
  const struct {
    std::vector<LockTry> answers;  // the tries' answers in turn; the last one repeats
    LockTry result;
    int tries;
  } cases[] = {
      {{LockTry::kLocked}, LockTry::kLocked, 1},
      {{LockTry::kBusy, LockTry::kBusy, LockTry::kLocked}, LockTry::kLocked, 3},
      {{LockTry::kBusy, LockTry::kNoLocks}, LockTry::kNoLocks, 2},
      {{LockTry::kBusy, LockTry::kFailed}, LockTry::kFailed, 2},
      {{LockTry::kBusy}, LockTry::kBusy, 12},  // 100 ms waited 10 ms a try, and one past
  };
  for (const auto& c : cases) {
    int tries = 0;
    int64_t now = 1000;
    const LockAttempt attempt = storage::WaitForLock(
        [&] {
          const LockTry answer = c.answers[std::min<std::size_t>(tries, c.answers.size() - 1)];
          ++tries;
          return LockAttempt{answer, answer == LockTry::kFailed ? EACCES : 0};
        },
        100, [&] { return now; }, [&] { now += 10; });
    EXPECT_EQ(attempt.result, c.result) << c.tries;
    EXPECT_EQ(tries, c.tries);
  }
}

TEST(LockFailure, SaysWhyInOneLine) {
  EXPECT_EQ(storage::LockFailure("d/rapikosc.ini.lock", {LockTry::kBusy, 0}),
            "the lock file d/rapikosc.ini.lock is held by another game for over 20 s");
  EXPECT_EQ(storage::LockFailure("d/rapikosc.ini.lock", {LockTry::kFailed, EACCES}),
            "the lock file d/rapikosc.ini.lock cannot be locked: " + storage::ErrorText(EACCES));
}

}  // namespace
