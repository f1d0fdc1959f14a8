// What each storage operation says and leaves when system calls fail (made to fail on purpose
// through a seccomp filter) or something else is at the lock's name; the words of the system's
// errors.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/syscall.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "storage/errors.h"
#include "storage/folder_lock.h"
#include "storage/folders.h"
#include "storage/read.h"
#include "storage/temporary.h"
#include "storage/write.h"
#include "support/case_file.h"
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
// on (the cases: failures.txt).
TEST(Failures, EachOperationSaysWhatFailedAndLeavesNoPartOfIt) {
  const std::map<std::string, std::vector<long>> calls = {
      {"", {}},
      {"open-folder", {}},
      {"link", {SYS_link, SYS_linkat}},
      {"fsync", {SYS_fsync}},
      {"rename", {SYS_rename, SYS_renameat, SYS_renameat2}},
      {"read", {SYS_read}},
      {"write", {SYS_write}},
      {"flock", {SYS_flock}}};
  const std::map<std::string, int> errors = {
      {"0", 0},         {"EIO", EIO},       {"EXDEV", EXDEV},   {"ENOSPC", ENOSPC},
      {"EPERM", EPERM}, {"ENOLCK", ENOLCK}, {"ENOSYS", ENOSYS}, {"EOPNOTSUPP", EOPNOTSUPP}};
  const auto rows = testing_support::CaseRows("storage/posix/failures.txt");
  EXPECT_GT(rows.size(), 20u);
  for (std::vector<std::string> c : rows) {  // operation, old, calls, error, said, names, bytes
    ASSERT_EQ(c.size(), 7u) << c[0];
    for (std::string& column : c) column = testing_support::Unescaped(column);
    const std::string &operation = c[0], &old = c[1];
    const std::string where = operation + " " + c[4];
    testing_support::GameDir dir("");
    dir.Remove("back.bmp");
    const std::string lock = dir.File(kLockFileName);
    if (operation != "lock" && old != "-") dir.Write("f", old);
    chmod(dir.File("f").c_str(), 0640);
    if (old == "link") fs::create_symlink(dir.File("outside"), lock);
    if (old == "fifo") mkfifo(lock.c_str(), 0644);
    if (old == "folder") fs::create_directory(lock);
    const std::string said = InChildFailing(
        calls.at(c[2]), errors.at(c[3]), [&] { return Operate(operation, dir.Path()); },
        c[2] == "open-folder" ? O_DIRECTORY : 0);
    if (said == storage_testing::kNoSeccomp) GTEST_SKIP() << "no seccomp filters here";
    std::string expected = c[4], names;
    if (expected.starts_with("LOCK")) expected.replace(0, 4, "the lock file " + lock);
    for (const std::string& name : ListFolder(dir.Path()))
      names += (names.empty() ? "" : " ") + name;
    EXPECT_EQ(said, expected) << where;
    EXPECT_EQ(names, c[5] == "L" ? kLockFileName : c[5]) << where;
    EXPECT_EQ(dir.Read("f"), c[6]) << where;
    if (old == "old" && c[4] == "0") EXPECT_EQ(dir.Read("f.bak"), c[5] == "f" ? "" : "old");
    if (operation == "replace" && c[4] == "0")
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
