// Reading, replacing and appending to files when system calls fail (made to fail on purpose
// through a seccomp filter; read_test and write_test have what is found at the names); the
// words of the system's errors.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/syscall.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "storage/errors.h"
#include "storage/read.h"
#include "storage/temporary.h"
#include "storage/write.h"
#include "support/failing_calls.h"
#include "support/script_run.h"

namespace storage {
namespace {

namespace fs = std::filesystem;
using storage_testing::InChildFailing;
using testing_support::GameDir;

// The folder's names, in order, and the file's bytes.
std::string Listing(const GameDir& dir, const std::string& file) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir.Path())) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  std::string text;
  for (const std::string& name : names) text += name + " ";
  return text + "| " + dir.Read(file);
}

std::string Said(const WriteResult& r) {
  return std::to_string(static_cast<int>(r.step)) + " " + (r.error ? ErrorText(r.error) : "");
}

TEST(ReadWholeFile, ReadsUpToItsLimitAndSaysWhatWentWrong) {
  GameDir dir("");
  const std::string big(70000, 'x');  // more than one read's worth
  dir.Write("big", big);
  chmod(dir.File("big").c_str(), 0640);
  const struct {
    std::string name;
    std::size_t limit;
    int readError;
    std::size_t size;
    std::string problem;
  } cases[] = {
      {"big", 70000, 0, 70000, ""},
      {"big", 70001, 0, 70000, ""},
      {"big", 69999, 0, 69999, "larger than 69999 bytes"},
      {"big", 70000, EIO, 0, "Input/output error"},
      {"missing", 10, 0, 0, "No such file or directory"},
  };
  for (const auto& c : cases) {
    const std::vector<long> calls = c.readError ? std::vector<long>{SYS_read} : std::vector<long>{};
    const std::string got = InChildFailing(calls, c.readError, [&] {
      const FileRead r = ReadWholeFile(dir.File(c.name), c.limit);
      const bool opened = c.name == "big";
      return std::to_string(r.opened == opened) + std::to_string(r.complete == c.problem.empty()) +
             std::to_string(!opened || r.mode == 0640) + " " + r.Problem(c.limit) + " | " +
             std::to_string(r.bytes.size()) + (r.bytes == big.substr(0, r.bytes.size()) ? "" : "?");
    });
    if (got == storage_testing::kNoSeccomp) GTEST_SKIP() << "no seccomp filters here";
    EXPECT_EQ(got, "111 " + c.problem + " | " + std::to_string(c.size)) << c.name << " " << c.limit;
  }
}

// Until the rename the old file stays as it was, and a failure leaves no temporary behind.
TEST(ReplaceFile, ReplacesWholeOrNotAtAll) {
  const std::vector<long> link = {SYS_link, SYS_linkat};
  const std::vector<long> rename = {SYS_rename, SYS_renameat, SYS_renameat2};
  const struct {
    const char* what;
    std::vector<long> calls;
    int error;
    bool backup;
    std::string said, listing;
  } cases[] = {
      {"replaced", {}, 0, false, "0 ", "f | new"},
      {"no second names: the old file is the backup", link, EPERM, true, "0 ", "f f.bak | new"},
      {"not synced", {SYS_fsync}, EIO, false, "1 Input/output error", "f | old"},
      {"not renamed", rename, EXDEV, false, "1 Invalid cross-device link", "f | old"},
      {"no backup", rename, EXDEV, true, "2 Invalid cross-device link", "f | old"},
      {"no room", {SYS_write}, ENOSPC, false, "1 No space left on device", "f | old"},
  };
  for (const auto& c : cases) {
    GameDir dir("");
    dir.Remove("back.bmp");
    dir.Write("f", "old");
    const std::string said = InChildFailing(c.calls, c.error, [&] {
      return Said(ReplaceFile(dir.File("f"), "new", {.mode = 0600, .keepOldAsBackup = c.backup}));
    });
    if (said == storage_testing::kNoSeccomp) GTEST_SKIP() << "no seccomp filters here";
    EXPECT_EQ(said, c.said) << c.what;
    EXPECT_EQ(Listing(dir, "f"), c.listing) << c.what;
    if (c.said == "0 ") {
      EXPECT_EQ(dir.Read("f.bak"), c.backup ? "old" : "") << c.what;
      EXPECT_EQ(fs::status(dir.File("f")).permissions(), fs::perms(0600)) << c.what;
    }
  }
}

TEST(AppendLines, LeavesNoPartOfAFailedAppend) {
  const struct {
    const char* what;
    const char* old;  // nullptr: no file
    std::vector<long> calls;
    std::string said, bytes;
  } cases[] = {
      {"an empty file gets the header", "", {}, "0 ", "h\nl\n"},
      {"the append cannot be synced", "h\nx", {SYS_fsync}, "1 Input/output error", "h\nx"},
      {"no room", "h\nx\n", {SYS_write}, "1 Input/output error", "h\nx\n"},
  };
  for (const auto& c : cases) {
    GameDir dir("");
    if (c.old) dir.Write("f", c.old);
    const std::string said =
        InChildFailing(c.calls, EIO, [&] { return Said(AppendLines(dir.File("f"), "h", "l\n")); });
    if (said == storage_testing::kNoSeccomp) GTEST_SKIP() << "no seccomp filters here";
    EXPECT_EQ(said, c.said) << c.what;
    EXPECT_EQ(dir.Read("f"), c.bytes) << c.what;
  }
}

// Without the system's random bytes the clock gives them, and nothing past those asked for.
TEST(RandomBytes, ComeFromTheClockWithoutTheSystems) {
  const std::string said = InChildFailing({SYS_getrandom}, ENOSYS, [] {
    std::array<unsigned char, 17> bytes{};
    bytes[16] = 0xA5;
    RandomBytes(bytes.data(), 16);
    const bool alike =
        std::all_of(bytes.begin(), bytes.end() - 1, [&](auto b) { return b == bytes[0]; });
    return std::string(alike ? "alike" : "mixed") + (bytes[16] == 0xA5 ? ", no more" : ", more");
  });
  if (said == storage_testing::kNoSeccomp) GTEST_SKIP() << "no seccomp filters here";
  EXPECT_EQ(said, "mixed, no more");
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
