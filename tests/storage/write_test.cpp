// Writing files: what is found at a name (a link, a special file, a folder) is never written
// through, waited on or replaced; appends and recordings keep their promises.
#include "storage/write.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "storage/errors.h"
#include "storage/stream_file.h"
#include "storage/temporary.h"
#include "storage/user_folder.h"
#include "support/game_dir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::GameDir;
using testing_support::U8Path;

// What can be planted at a name before the game writes there.
enum Planted { kNothing, kFile, kLinkOut, kDanglingLink, kSpecial, kFolder };

// A scratch folder with `what` planted at f; `outside` is where links point.
struct Scene {
  GameDir dir{""};
  std::string path = dir.File("f");
  std::string outside = dir.File("outside");
  bool planted = true;  // false: this system makes no links

  explicit Scene(Planted what) {
    if (what == kFile) dir.Write("f", "old\n");
    if (what == kLinkOut) dir.Write("outside", "theirs\n");
    if (what == kLinkOut || what == kDanglingLink)
      planted = testing_support::MakeLink(outside, path);
    if (what == kSpecial) path = dir.SpecialFile();
    if (what == kFolder) dir.Folder("f");
  }
  bool TemporaryLeft() const {
    for (const auto& e : fs::directory_iterator(U8Path(dir.Path())))
      if (storage::IsTemporaryName(testing_support::U8String(e.path().filename()))) return true;
    return false;
  }
};

// What is found at the name is never written through, waited on or replaced: a replace takes
// the place of a file or a link (never its target), an append or a recording opens a plain
// file alone; outside the name nothing is touched or made.
TEST(Writes, NeverThroughWhatIsPlantedAtTheName) {
  const struct {
    Planted planted;
    int replace, open;  // the error of a replace, and of an append or a recording
  } cases[] = {{kNothing, 0, 0},
               {kFile, 0, 0},
               {kLinkOut, 0, ELOOP},
               {kDanglingLink, 0, ELOOP},
               {kSpecial, storage::kNotPlainFile, storage::kNotPlainFile},
               {kFolder, storage::kNotPlainFile, EISDIR}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.planted);
    for (int operation = 0; operation < 3; ++operation) {
      Scene scene(c.planted);
      if (!scene.planted) continue;  // links, where this system makes none (Wine)
      std::string expected;
      int error = 0;
      if (operation == 0) {
        error = storage::ReplaceFile(scene.path, "new\n").error;
        EXPECT_EQ(error, c.replace) << storage::ErrorText(error);
        expected = "new\n";
        EXPECT_FALSE(scene.TemporaryLeft());
        EXPECT_FALSE(fs::is_symlink(fs::symlink_status(U8Path(scene.path))));
      } else if (operation == 1) {
        error = storage::AppendLines(scene.path, "head", "l1\n").error;
        EXPECT_EQ(error, c.open) << storage::ErrorText(error);
        expected = c.planted == kFile ? "old\nl1\n" : "head\nl1\n";
      } else {
        storage::StreamFile file;
        error = file.Open(scene.path);
        EXPECT_EQ(error, c.open) << storage::ErrorText(error);
        if (error == 0) {  // made or emptied, then written over in place
          EXPECT_EQ(scene.dir.Read("f"), "");
          for (const auto& [at, bytes] :
               {std::pair{0, "tick 16 9\n"}, {0, "tick 16 10\n"}, {11, "x\n"}})
            EXPECT_EQ(file.WriteAt(at, bytes), 0);
          EXPECT_EQ(file.Close(), 0);
        }
        expected = "tick 16 10\nx\n";
      }
      if (error == 0) {
        EXPECT_EQ(scene.dir.Read("f"), expected) << operation;
      }
      EXPECT_EQ(scene.dir.Read("outside"), c.planted == kLinkOut ? "theirs\n" : "") << operation;
    }
  }
}

// Temporary names are drawn anew each time, and known again (which of them start-up removes: the
// golden games startup_removes_temporaries, startup_temporaries_lookalikes).
TEST(Temporaries, EachNameIsNewAndKnownAgain) {
  const std::string made = storage::TemporaryName("d/f");
  EXPECT_TRUE(storage::IsTemporaryName(made.substr(2))) << made;
  EXPECT_NE(made, storage::TemporaryName("d/f"));
}

// A first start never copies through a link or a file planted in the new
// folder: each copy is made new under a name of its own.
TEST(SeedFolder, WritesThroughNoPlantedLink) {
  GameDir data(""), user(""), outside("");
  data.Write("back.bmp", "picture");
  data.Write("rapdata.ini", "CAT\r\n");
  outside.Write("victim", "not yours");
  user.Remove("back.bmp");
  if (!testing_support::MakeLink(outside.File("victim"), user.File("rapdata.ini.part")) ||
      !testing_support::MakeLink(outside.File("made"), user.File("back.bmp"))) {
    GTEST_SKIP() << "this system makes no symbolic links";
  }
  std::string error;
  ASSERT_TRUE(storage::SeedFolder(user.Path(), data.Path(), error)) << error;
  EXPECT_EQ(user.Read("rapdata.ini"), "CAT\r\n");
  EXPECT_EQ(user.Read("back.bmp"), "picture");
  EXPECT_FALSE(fs::is_symlink(fs::symlink_status(U8Path(user.File("back.bmp")))));
  EXPECT_EQ(outside.Read("victim"), "not yours");
  EXPECT_FALSE(outside.Exists("made"));
}

}  // namespace
