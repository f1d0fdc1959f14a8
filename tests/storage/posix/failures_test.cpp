// What each storage operation says and leaves when system calls fail (made to fail on purpose
// through a seccomp filter) or something else is at the lock's name; the words of the system's
// errors.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/syscall.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "storage/errors.h"
#include "storage/folder_lock.h"
#include "storage/folders.h"
#include "storage/read.h"
#include "storage/temporary.h"
#include "storage/write.h"
#include "support/failing_calls.h"
#include "support/game_dir.h"

namespace storage {
namespace {

namespace fs = std::filesystem;
using storage_testing::InChildFailing;

// What an operation on the file f, or the folder's lock, came to.
std::string Operate(const std::string& operation, const std::string& dir) {
  const std::string f = dir + "/f";
  const auto said = [](const WriteResult& r) {
    return std::to_string(static_cast<int>(r.step)) + (r.error ? " " + ErrorText(r.error) : "");
  };
  if (operation == "read") {
    const FileRead r = ReadWholeFile(f, 69999);
    return r.Problem(69999) + " " + std::to_string(r.bytes.size()) + (r.mode == 0640 ? "" : "?");
  }
  if (operation == "replace") return said(ReplaceFile(f, "new", {.mode = 0600}));
  if (operation == "backup") return said(ReplaceFile(f, "new", {.keepOldAsBackup = true}));
  if (operation == "append") return said(AppendLines(f, "h", "l\n"));
  try {
    const FolderLock lock(dir + "/");
    return lock.Held() ? "held" : "unlocked";
  } catch (const LockError& e) {
    return e.what();
  }
}

// Until the rename the old file stays as it was, and a failure leaves no temporary behind; a
// failed append leaves no part of it. A file system without locks goes ahead unlocked; anything
// but a plain file at the lock's name (a link, a FIFO, a folder) is neither followed nor waited
// on.
TEST(Failures, EachOperationSaysWhatFailedAndLeavesNoPartOfIt) {
  const std::vector<long> link = {SYS_link, SYS_linkat}, fsync = {SYS_fsync},
                          rename = {SYS_rename, SYS_renameat, SYS_renameat2}, read = {SYS_read},
                          write = {SYS_write}, flock = {SYS_flock};
  const std::string big(70000, 'x');  // more than one read's worth
  const struct {
    const char* operation;
    std::string old;  // "-": no file; a lock: what is planted at its name (link, fifo, folder)
    std::vector<long> calls;
    uint32_t openFlags;
    int error;
    std::string said, names, bytes;  // LOCK: "the lock file PATH"; L: the lock's name
  } cases[] = {
      {"read", big, {}, 0, 0, "larger than 69999 bytes 69999", "f", big},
      {"read", big, read, 0, EIO, "Input/output error 0", "f", big},
      {"read", "-", {}, 0, 0, "No such file or directory 0?", "", ""},
      {"replace", "old", {}, 0, 0, "0", "f", "new"},
      {"replace", "old", fsync, 0, EIO, "1 Input/output error", "f", "old"},
      {"replace", "old", rename, 0, EXDEV, "1 Invalid cross-device link", "f", "old"},
      {"replace", "old", write, 0, ENOSPC, "1 No space left on device", "f", "old"},
      {"replace", "old", {}, O_DIRECTORY, EIO, "3 Input/output error", "f", "new"},
      {"backup", "old", {}, 0, 0, "0", "f f.bak", "new"},
      {"backup", "old", link, 0, EPERM, "0", "f f.bak", "new"},  // the old file is the backup
      {"backup", "old", rename, 0, EXDEV, "2 Invalid cross-device link", "f", "old"},
      {"append", "-", {}, 0, 0, "0", "f", "h\nl\n"},
      {"append", "", {}, 0, 0, "0", "f", "h\nl\n"},
      {"append", "h\nhalf a li", {}, 0, 0, "0", "f", "h\nhalf a li\nl\n"},
      {"append", "h\nx", fsync, 0, EIO, "1 Input/output error", "f", "h\nx"},
      {"append", "h\nx\n", write, 0, EIO, "1 Input/output error", "f", "h\nx\n"},
      {"lock", "", {}, 0, 0, "held", "L", ""},
      {"lock", "", flock, 0, ENOLCK, "unlocked", "L", ""},
      {"lock", "", flock, 0, EOPNOTSUPP, "unlocked", "L", ""},
      {"lock", "", flock, 0, ENOSYS, "unlocked", "L", ""},
      {"lock", "", flock, 0, EIO, "LOCK cannot be locked: Input/output error", "L", ""},
      {"lock",
       "link",
       {},
       0,
       0,
       "LOCK cannot be opened: Too many levels of symbolic links",
       "L",
       ""},
      {"lock", "fifo", {}, 0, 0, "LOCK is not a plain file", "L", ""},
      {"lock", "folder", {}, 0, 0, "LOCK cannot be opened: Is a directory", "L", ""},
  };
  for (const auto& c : cases) {
    testing_support::GameDir dir("");
    dir.Remove("back.bmp");
    const std::string lock = dir.File(kLockFileName);
    if (c.operation != std::string("lock") && c.old != "-") dir.Write("f", c.old);
    chmod(dir.File("f").c_str(), 0640);
    if (c.old == "link") fs::create_symlink(dir.File("outside"), lock);
    if (c.old == "fifo") mkfifo(lock.c_str(), 0644);
    if (c.old == "folder") fs::create_directory(lock);
    const std::string said = InChildFailing(
        c.calls, c.error, [&] { return Operate(c.operation, dir.Path()); }, c.openFlags);
    if (said == storage_testing::kNoSeccomp) GTEST_SKIP() << "no seccomp filters here";
    std::string expected = c.said, names;
    if (expected.starts_with("LOCK")) expected.replace(0, 4, "the lock file " + lock);
    for (const std::string& name : ListFolder(dir.Path()))
      names += (names.empty() ? "" : " ") + name;
    EXPECT_EQ(said, expected) << c.operation << " " << c.said;
    EXPECT_EQ(names, c.names == "L" ? kLockFileName : c.names) << c.operation << " " << c.said;
    EXPECT_EQ(dir.Read("f"), c.bytes) << c.operation << " " << c.said;
    if (c.old == "old" && c.said == "0") EXPECT_EQ(dir.Read("f.bak"), c.names == "f" ? "" : "old");
    if (c.operation == std::string("replace") && c.said == "0")
      EXPECT_EQ(fs::status(dir.File("f")).permissions(), fs::perms(0600));
  }
}

// With or without the system's random bytes (the clock gives them then), all that is asked is
// filled and nothing past it.
TEST(RandomBytes, FillTheWholeSpanAndNothingElse) {
  for (const std::vector<long> calls : {std::vector<long>{}, std::vector<long>{SYS_getrandom}}) {
    const std::string said = InChildFailing(calls, ENOSYS, [] {
      std::vector<unsigned char> bytes(3000, 0);
      RandomBytes(bytes.data() + 1000, 1000);
      const auto zeros = [&](std::size_t from, std::size_t to) {
        return std::count(bytes.begin() + long(from), bytes.begin() + long(to), 0);
      };
      std::string few = zeros(0, 1000) == 1000 && zeros(2000, 3000) == 1000 ? "" : "more ";
      // Each 100 random bytes hold a zero or two, not dozens.
      for (std::size_t at = 1000; at < 2000; at += 100) few += zeros(at, at + 100) < 10 ? "" : "0";
      return few;
    });
    if (said == storage_testing::kNoSeccomp) GTEST_SKIP() << "no seccomp filters here";
    EXPECT_EQ(said, "") << calls.size();
  }
}

// Messages read the same on every system: the common errors in the words of the GNU C library,
// which this system's own must match.
TEST(ErrorText, TheWordsOfThisSystem) {
  for (const int error : {ENOENT, EACCES, EEXIST, ENOTDIR, EISDIR, ENOSPC, EROFS, EIO, ELOOP, EFBIG,
                          EAGAIN, EBUSY, ENAMETOOLONG, EMFILE, EXDEV, ENOTEMPTY}) {
    EXPECT_EQ(ErrorText(error), std::strerror(error)) << error;
  }
  EXPECT_EQ(ErrorText(kNotPlainFile), "not a plain file");
}

}  // namespace
}  // namespace storage
