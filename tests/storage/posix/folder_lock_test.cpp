// Tests of the POSIX side of the game folder's lock: the wait and its deadline, what a
// failure says, its refusals and its flock errors (injected through a seccomp filter).
#include "storage/folder_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/syscall.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "support/failing_calls.h"
#include "support/script_run.h"

namespace storage {
namespace {

namespace fs = std::filesystem;
using testing_support::GameDir;

// The clock moves only while the wait pauses, 7 ms a pause, from 1000.
TEST(WaitForLock, TriesUntilTheLockIsHadAndGivesUpOnlyPastTheDeadline) {
  constexpr LockTry kLocked = LockTry::kLocked, kBusy = LockTry::kBusy;
  struct Case {
    const char* what;
    std::vector<LockTry> tries;  // what each try finds; the last one repeats
    int64_t waitMs;
    LockTry result;
    int tried;
  };
  const Case cases[] = {
      {"free at once", {kLocked}, 70, kLocked, 1},
      {"free at the third try", {kBusy, kBusy, kLocked}, 70, kLocked, 3},
      {"no locks on this file system", {kBusy, LockTry::kNoLocks}, 70, LockTry::kNoLocks, 2},
      {"a failed try ends the wait", {kBusy, LockTry::kFailed}, 70, LockTry::kFailed, 2},
      // Tried at 1000, 1007, ..., 1070 (the deadline: still tried again) and 1077.
      {"busy throughout", {kBusy}, 70, kBusy, 12},
      {"no wait: one more try after the first", {kBusy}, 0, kBusy, 2},
  };
  for (const Case& c : cases) {
    int64_t now = 1000;
    int tried = 0;
    const auto tryOnce = [&] {
      const LockTry t = c.tries[std::min<size_t>(static_cast<size_t>(tried++), c.tries.size() - 1)];
      return LockAttempt{t, t == LockTry::kFailed ? EIO : 0};
    };
    const LockAttempt a = WaitForLock(
        tryOnce, c.waitMs, [&] { return now; }, [&] { now += 7; });
    EXPECT_EQ(a.result, c.result) << c.what;
    EXPECT_EQ(a.error, c.result == LockTry::kFailed ? EIO : 0) << c.what;
    EXPECT_EQ(tried, c.tried) << c.what;
    EXPECT_EQ(now, 1000 + 7 * (c.tried - 1)) << c.what;  // no pause after the last try
  }
  EXPECT_EQ(LockFailure("d/rapikosc.ini.lock", {LockTry::kBusy, EWOULDBLOCK}),
            "the lock file d/rapikosc.ini.lock is held by another game for over 20 s");
}

// What a lock on dir came to in a child process whose flock calls all fail with error (none
// when 0): "held", "unlocked", or the LockError's message.
std::string LockInChild(const std::string& dir, int error) {
  const std::vector<long> calls = error == 0 ? std::vector<long>{} : std::vector<long>{SYS_flock};
  return storage_testing::InChildFailing(calls, error, [&]() -> std::string {
    try {
      const FolderLock lock(dir);
      return lock.Held() ? "held" : "unlocked";
    } catch (const LockError& e) {
      return e.what();
    }
  });
}

// A file system without locks goes ahead unlocked; anything but a plain file at the lock's name
// (a link, a FIFO) is neither followed nor waited on.
TEST(FolderLock, RefusesWhatIsNotAPlainFileAndGoesAheadWithoutLocks) {
  GameDir game("");
  const std::string dir = game.Path() + "/", lock = dir + kLockFileName;
  const auto link = [&] { fs::create_symlink(game.File("outside"), lock); };
  const auto fifo = [&] { mkfifo(lock.c_str(), 0644); };
  const auto folder = [&] { fs::create_directory(lock); };
  const struct {
    std::function<void()> plant;
    int error;  // of every flock
    std::string said;
  } cases[] = {
      {nullptr, 0, "held"},
      {nullptr, ENOLCK, "unlocked"},
      {nullptr, EOPNOTSUPP, "unlocked"},
      {nullptr, ENOSYS, "unlocked"},
      {nullptr, EIO, "the lock file " + lock + " cannot be locked: Input/output error"},
      {link, 0, "the lock file " + lock + " cannot be opened: Too many levels of symbolic links"},
      {fifo, 0, "the lock file " + lock + " is not a plain file"},
      {folder, 0, "the lock file " + lock + " cannot be opened: Is a directory"},
  };
  for (const auto& c : cases) {
    fs::remove_all(lock);
    if (c.plant) c.plant();
    const std::string result = LockInChild(dir, c.error);
    if (result == storage_testing::kNoSeccomp) GTEST_SKIP() << "no seccomp filters here";
    EXPECT_EQ(result, c.said) << "flock failing with " << c.error;
  }
  EXPECT_FALSE(game.Exists("outside"));
  EXPECT_EQ(LockInChild(dir + "missing/", 0), "the lock file " + dir + "missing/" + kLockFileName +
                                                  " cannot be opened: No such file or directory");
}

// A second lock on the folder, in the same game or another, waits until the first is released.
TEST(FolderLock, ASecondLockWaitsForTheFirst) {
  GameDir game("");
  const std::string dir = game.Path() + "/";
  auto first = std::make_unique<FolderLock>(dir);
  ASSERT_TRUE(first->Held());
  std::atomic<bool> released = false;
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    released = true;
    first.reset();
  });
  const FolderLock second(dir);
  EXPECT_TRUE(second.Held());
  EXPECT_TRUE(released);
  release.join();
}

}  // namespace
}  // namespace storage
