// Writing files on POSIX systems: permission bits kept, and the system's own words for its errors.
#include "storage/write.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>

#include "storage/errors.h"
#include "support/game_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(ReplaceFile, KeepsTheModeAskedFor) {
  testing_support::GameDir dir("");
  dir.Write("f", "old\n");
  chmod(dir.File("f").c_str(), 0600);
  EXPECT_TRUE(storage::ReplaceFile(dir.File("f"), "new\n", {.mode = 0640}).Ok());
  EXPECT_EQ(fs::status(dir.File("f")).permissions(), fs::perms(0640));
}

// Messages read the same on every system: the common errors in the words
// of the GNU C library, which this system's own must match.
TEST(ErrorText, TheWordsOfThisSystem) {
  for (const int error : {ENOENT, EACCES, EEXIST, ENOTDIR, EISDIR, ENOSPC, EROFS, EIO, ELOOP, EFBIG,
                          EAGAIN, EBUSY, ENAMETOOLONG, EMFILE, EXDEV, ENOTEMPTY}) {
    EXPECT_EQ(storage::ErrorText(error), std::strerror(error)) << error;
  }
  EXPECT_EQ(storage::ErrorText(storage::kNotPlainFile), "not a plain file");
}

}  // namespace
