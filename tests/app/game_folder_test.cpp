// The choice of the game folder and the first start of the per-user folder.
#include "app/game_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

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
  testing_support::GameDir tmp{""};  // its own back.bmp is outside bin/
  const std::string bin = tmp.File("bin"), user = tmp.File("xdg/rapiko");
  UserDirs dirs{tmp.File("xdg"), tmp.File("home")};
  std::string error;
};

TEST_F(Installed, DirOptionThenAProgramFolderWithBackBmpThenThePerUserFolder) {
  EXPECT_EQ(Choose("/some/dir"), "/some/dir");
  EXPECT_FALSE(fs::exists(user));
  Put("bin/back.bmp", "portable");
  EXPECT_EQ(Choose(), bin);
  EXPECT_EQ(Choose("/some/dir"), "/some/dir");
  EXPECT_FALSE(fs::exists(user));
  tmp.Remove("bin/back.bmp");
  EXPECT_EQ(Choose(), user) << error;
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
