// The POSIX side of the game folder's lock: its refusals and its flock errors (injected through
// a seccomp filter).
#include "storage/folder_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/syscall.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <vector>

#include "support/failing_calls.h"
#include "support/script_run.h"

namespace storage {
namespace {

namespace fs = std::filesystem;
using testing_support::GameDir;

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

}  // namespace
}  // namespace storage
