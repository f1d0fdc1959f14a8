// Writing files: what is found at a name (a link, a FIFO, a folder) is never written through,
// waited on or replaced; appends and recordings keep their promises.
#include "storage/write.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "storage/errors.h"
#include "storage/stream_file.h"
#include "storage/temporary.h"
#include "storage/user_folder.h"
#include "support/script_run.h"

namespace {

namespace fs = std::filesystem;
using storage::WriteResult;
using testing_support::GameDir;

// What can be planted at a name before the game writes there.
enum class Planted { kNothing, kFile, kLinkOut, kDanglingLink, kFifo, kFolder };

struct Scene {
  GameDir dir{""};
  std::string path = dir.File("f");
  std::string outside = dir.File("outside");

  explicit Scene(Planted planted) {
    switch (planted) {
      case Planted::kNothing:
        break;
      case Planted::kFile:
        dir.Write("f", "old\n");
        chmod(path.c_str(), 0600);
        break;
      case Planted::kLinkOut:
        dir.Write("outside", "theirs\n");
        fs::create_symlink(outside, path);
        break;
      case Planted::kDanglingLink:
        fs::create_symlink(outside, path);
        break;
      case Planted::kFifo:
        mkfifo(path.c_str(), 0644);
        break;
      case Planted::kFolder:
        fs::create_directory(path);
        break;
    }
  }
  bool IsLink() const { return fs::is_symlink(fs::symlink_status(path)); }
};

TEST(ReplaceFile, ReplacesAFileOrALinkItselfAndLeavesAnythingElse) {
  const struct {
    Planted planted;
    int error;
  } cases[] = {{Planted::kNothing, 0},
               {Planted::kFile, 0},
               {Planted::kLinkOut, 0},
               {Planted::kDanglingLink, 0},
               {Planted::kFifo, storage::kNotPlainFile},
               {Planted::kFolder, storage::kNotPlainFile}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.planted));
    Scene scene(c.planted);
    const WriteResult r = storage::ReplaceFile(scene.path, "new\n");
    EXPECT_EQ(r.error, c.error);
    if (c.error == 0) {
      EXPECT_TRUE(r.Ok());
      EXPECT_FALSE(scene.IsLink());
      EXPECT_EQ(scene.dir.Read("f"), "new\n");
    }
    // Outside the name, nothing is touched or made.
    EXPECT_EQ(scene.dir.Read("outside"), c.planted == Planted::kLinkOut ? "theirs\n" : "");
    for (const auto& e : fs::directory_iterator(scene.dir.Path())) {
      EXPECT_FALSE(storage::IsTemporaryName(e.path().filename().string())) << e.path();
    }
  }
}

TEST(ReplaceFile, KeepsTheModeAskedForAndTheOldBytesAsBackup) {
  Scene scene(Planted::kFile);
  const WriteResult r =
      storage::ReplaceFile(scene.path, "new\n", {.mode = 0640, .keepOldAsBackup = true});
  EXPECT_TRUE(r.Ok());
  EXPECT_EQ(fs::status(scene.path).permissions(), fs::perms(0640));
  EXPECT_EQ(scene.dir.Read("f"), "new\n");
  EXPECT_EQ(scene.dir.Read("f.bak"), "old\n");
}

TEST(AppendLines, OnlyToAPlainFileNeverThroughALinkNeverWaitingOnAFifo) {
  const struct {
    Planted planted;
    int error;
    std::string after;
  } cases[] = {
      {Planted::kNothing, 0, "head\nl1\n"},
      {Planted::kFile, 0, "old\nl1\n"},
      {Planted::kLinkOut, ELOOP, ""},
      {Planted::kDanglingLink, ELOOP, ""},
      {Planted::kFifo, storage::kNotPlainFile, ""},
      {Planted::kFolder, EISDIR, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.planted));
    Scene scene(c.planted);
    const WriteResult r = storage::AppendLines(scene.path, "head", "l1\n");
    EXPECT_EQ(r.error, c.error) << storage::ErrorText(r.error);
    if (c.error == 0) {
      EXPECT_EQ(scene.dir.Read("f"), c.after);
    }
    EXPECT_EQ(scene.dir.Read("outside"), c.planted == Planted::kLinkOut ? "theirs\n" : "");
  }
}

TEST(AppendLines, ALineCutShortStaysALineOfItsOwn) {
  GameDir dir("");
  dir.Write("h", "head\nhalf a li");
  EXPECT_TRUE(storage::AppendLines(dir.File("h"), "head", "next\n").Ok());
  EXPECT_EQ(dir.Read("h"), "head\nhalf a li\nnext\n");
}

TEST(StreamFile, MakesOrEmptiesAPlainFileOnlyAndWritesOverInPlace) {
  const struct {
    Planted planted;
    int error;
  } cases[] = {{Planted::kNothing, 0},
               {Planted::kFile, 0},
               {Planted::kLinkOut, ELOOP},
               {Planted::kFifo, storage::kNotPlainFile},
               {Planted::kFolder, EISDIR}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.planted));
    Scene scene(c.planted);
    storage::StreamFile file;
    EXPECT_EQ(file.Open(scene.path), c.error);
    if (c.error != 0) continue;
    EXPECT_EQ(scene.dir.Read("f"), "");
    EXPECT_EQ(file.WriteAt(0, "tick 16 9\n"), 0);
    EXPECT_EQ(file.WriteAt(0, "tick 16 10\n"), 0);
    EXPECT_EQ(file.WriteAt(11, "x\n"), 0);
    EXPECT_EQ(scene.dir.Read("f"), "tick 16 10\nx\n");
    EXPECT_EQ(file.Close(), 0);
  }
}

TEST(Temporaries, OnlyTheirOwnPatternIsRemoved) {
  GameDir dir("");
  const std::pair<const char*, bool> names[] = {
      {"rapikosc.ini.tmp-AbCdEf123456", true},
      {"best.script.tmp-0123456789ab", true},
      {"rapikosc.ini.tmp-12345", false},
      {"rapikosc.ini.tmp-AbCdEf12345!", false},
      {".tmp-AbCdEf123456", false},
      {"rapikosc.ini", false},
  };
  for (const auto& [name, removed] : names) dir.Write(name, "x");
  storage::RemoveStaleTemporaries(dir.Path() + "/");
  for (const auto& [name, removed] : names) EXPECT_EQ(dir.Exists(name), !removed) << name;
  const std::string made = storage::TemporaryName(dir.File("f"));
  EXPECT_TRUE(storage::IsTemporaryName(fs::path(made).filename().string()));
  EXPECT_NE(made, storage::TemporaryName(dir.File("f")));
}

// A first start never copies through a link or a file planted in the new
// folder: each copy is made new under a name of its own.
TEST(SeedFolder, WritesThroughNoPlantedLink) {
  GameDir data(""), user(""), outside("");
  data.Write("back.bmp", "picture");
  data.Write("rapdata.ini", "CAT\r\n");
  outside.Write("victim", "not yours");
  fs::create_symlink(outside.File("victim"), user.File("rapdata.ini.part"));
  user.Remove("back.bmp");
  fs::create_symlink(outside.File("made"), user.File("back.bmp"));  // a link to nowhere
  std::string error;
  ASSERT_TRUE(storage::SeedFolder(user.Path(), data.Path(), error)) << error;
  EXPECT_EQ(user.Read("rapdata.ini"), "CAT\r\n");
  EXPECT_EQ(user.Read("back.bmp"), "picture");
  EXPECT_FALSE(fs::is_symlink(fs::symlink_status(user.File("back.bmp"))));
  EXPECT_EQ(outside.Read("victim"), "not yours");
  EXPECT_FALSE(outside.Exists("made"));
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
