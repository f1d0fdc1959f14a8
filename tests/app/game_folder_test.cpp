// The choice of the game folder, and the first start of the per-user folder and of a new --dir.
#include "app/game_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <tuple>

#include "support/script_run.h"

namespace {

namespace fs = std::filesystem;
using storage::UserDirs;

TEST(GameFolder, PerUserFolderFollowsXdgDataHomeThenHome) {
  const struct {
    UserDirs dirs;
    std::string expected;
  } cases[] = {
      {{"/data", "/home/p"}, "/data/rapiko"},
      {{"", "/home/p"}, "/home/p/.local/share/rapiko"},
      {{"relative/data", "/home/p"}, "/home/p/.local/share/rapiko"},  // invalid: ignored
      {{"", ""}, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(storage::PerUserFolder(c.dirs), c.expected)
        << c.dirs.xdgDataHome << "|" << c.dirs.home;
}

// An installed layout: bin/ beside share/rapiko/ with the default files.
class Installed : public ::testing::Test {
 protected:
  Installed() {
    Put("share/rapiko/back.bmp", "picture");
    Put("share/rapiko/rapdata.ini", "CAT\r\n");
    fs::create_directories(bin);
  }
  void Put(const std::string& file, const std::string& text) const {
    fs::create_directories(fs::path(tmp.File(file)).parent_path());
    tmp.Write(file, text);
  }
  std::optional<std::string> Choose(const std::string& dirOption = "") {
    error.clear();
    return app::ChooseGameFolder(dirOption, bin, bin + "/../share/rapiko", dirs, error);
  }
  // The names in a folder under tmp, sorted, blank-separated.
  std::string Names(const std::string& folder) const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(tmp.File(folder)))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string out;
    for (const auto& n : names) out += (out.empty() ? "" : " ") + n;
    return out;
  }
  testing_support::GameDir tmp{""};  // its own back.bmp is outside bin/
  const std::string bin = tmp.File("bin"), user = tmp.File("xdg/rapiko");
  UserDirs dirs{tmp.File("xdg"), tmp.File("home")};
  std::string error;
};

TEST_F(Installed, DirOptionThenAProgramFolderWithBackBmpThenThePerUserFolder) {
  const std::string mine = tmp.File("mine");
  Put("mine/back.bmp", "mine");
  EXPECT_EQ(Choose(mine), mine);
  EXPECT_FALSE(fs::exists(user));
  Put("bin/back.bmp", "portable");
  EXPECT_EQ(Choose(), bin);
  EXPECT_EQ(Choose(mine), mine);
  EXPECT_FALSE(fs::exists(user));
  tmp.Remove("bin/back.bmp");
  EXPECT_EQ(Choose(), user) << error;
  EXPECT_EQ(Names("mine"), "back.bmp");
}

// A new or empty --dir is filled as the per-user folder is, from the program's
// folder when it holds the game's files; one that holds anything is left alone.
TEST_F(Installed, ANewOrEmptyDirOptionIsMadeAndFilled) {
  fs::create_directories(tmp.File("empty"));
  Put("notes/notes.txt", "mine");
  const struct {
    std::string dir;
    bool portable;
    std::string names, back, words;
  } cases[] = {
      {"new/deeper", false, "back.bmp rapdata.ini", "picture", "CAT\r\n"},
      {"empty", false, "back.bmp rapdata.ini", "picture", "CAT\r\n"},
      {"notes", false, "notes.txt", "", ""},
      {"carried", true, "back.bmp rapdata.ini", "portable", "OWL\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dir);
    if (c.portable) {
      Put("bin/back.bmp", "portable");
      Put("bin/rapdata.ini", "OWL\r\n");
    }
    EXPECT_EQ(Choose(tmp.File(c.dir)), tmp.File(c.dir)) << error;
    EXPECT_EQ(Names(c.dir), c.names);
    EXPECT_EQ(std::tuple(tmp.Read(c.dir + "/back.bmp"), tmp.Read(c.dir + "/rapdata.ini")),
              std::tuple(c.back, c.words));
  }
  EXPECT_FALSE(fs::exists(user));
}

TEST_F(Installed, ADirOptionThatIsNotAFolderIsOneLine) {
  Put("file", "mine");
  fs::create_symlink(tmp.File("nowhere"), tmp.File("dangling"));
  for (const char* name : {"file", "dangling", "file/below"}) {
    const std::string dir = tmp.File(name);
    EXPECT_FALSE(Choose(dir)) << name;
    EXPECT_NE(error.find(dir), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }
  EXPECT_EQ(tmp.Read("file"), "mine");
  EXPECT_FALSE(fs::exists(tmp.File("nowhere")));
}

// The program itself: a new --dir starts a game and keeps its files there.
TEST(GameFolderRun, ANewDirStartsAndIsFilledAndAFileIsRefused) {
  testing_support::GameDir tmp;
  const std::string made = tmp.File("made/here");
  const auto r = testing_support::RunScript(tmp, "state\n", {"--dir", made});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  ASSERT_EQ(r.States().size(), 1u);
  EXPECT_EQ(r.States()[0]["words"][1], "CAT");  // the game's own list (its first word)
  EXPECT_EQ(testing_support::ReadFileBytes(made + "/back.bmp"), tmp.Read("back.bmp"));
  EXPECT_TRUE(fs::exists(made + "/rapikosc.ini"));

  const auto file = testing_support::RunScript(tmp, "state\n", {"--dir", tmp.File("rapdata.ini")});
  EXPECT_EQ(std::tuple(file.exitCode, file.err),
            std::tuple(1, "rapiko: --dir " + tmp.File("rapdata.ini") + " is not a folder\n"));
  EXPECT_TRUE(file.lines.empty());
}

TEST_F(Installed, FirstStartSeedsThePerUserFolderAndLaterStartsKeepThePlayersFiles) {
  ASSERT_EQ(Choose(), user) << error;
  EXPECT_EQ(tmp.Read("xdg/rapiko/back.bmp"), "picture");
  EXPECT_EQ(tmp.Read("xdg/rapiko/rapdata.ini"), "CAT\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(user), fs::directory_iterator()), 2);

  Put("xdg/rapiko/rapdata.ini", "DOG\r\n");
  tmp.Remove("xdg/rapiko/back.bmp");
  ASSERT_EQ(Choose(), user) << error;
  EXPECT_EQ(tmp.Read("xdg/rapiko/rapdata.ini"), "DOG\r\n");
  EXPECT_EQ(tmp.Read("xdg/rapiko/back.bmp"), "picture");  // a missing file is copied again
  EXPECT_FALSE(tmp.Exists("bin/rapikosc.ini"));
}

TEST_F(Installed, WithoutInstalledFilesTheFolderIsMadeEmpty) {
  fs::remove_all(tmp.File("share"));
  ASSERT_EQ(Choose(), user) << error;
  EXPECT_TRUE(fs::is_empty(user));
}

TEST_F(Installed, FaultsAreOneLineNamingTheWayOut) {
  dirs = {"", ""};
  EXPECT_FALSE(Choose());
  EXPECT_NE(error.find("--dir"), std::string::npos) << error;

  Put("file", "");
  dirs = {tmp.File("file"), ""};  // the folder would be inside a file
  EXPECT_FALSE(Choose());
  EXPECT_NE(error.find(tmp.File("file/rapiko")), std::string::npos) << error;
  EXPECT_EQ(error.find('\n'), std::string::npos);
}

}  // namespace
