// The choice of the game folder and the first start of the per-user folder.
#include "app/game_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;
using app::ChooseGameFolder;
using app::UserDirs;

void Put(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

std::string Get(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

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
    EXPECT_EQ(app::PerUserFolder(c.dirs), c.expected) << c.dirs.xdgDataHome << "|" << c.dirs.home;
}

// An installed layout: bin/ beside share/rapiko/ with the default files.
class Installed : public ::testing::Test {
 protected:
  Installed() {
    Put(tmp.path / "share/rapiko/back.bmp", "picture");
    Put(tmp.path / "share/rapiko/rapdata.ini", "CAT\r\n");
    fs::create_directories(bin);
  }
  std::optional<std::string> Choose(const std::string& dirOption = "") {
    error.clear();
    return ChooseGameFolder(dirOption, bin.string(), (bin / "../share/rapiko").string(), dirs,
                            error);
  }
  test_files::TempDir tmp;
  fs::path bin = tmp.path / "bin";
  fs::path user = tmp.path / "xdg/rapiko";
  UserDirs dirs{(tmp.path / "xdg").string(), (tmp.path / "home").string()};
  std::string error;
};

TEST_F(Installed, DirOptionThenAProgramFolderWithBackBmpThenThePerUserFolder) {
  EXPECT_EQ(Choose("/some/dir"), "/some/dir");
  EXPECT_FALSE(fs::exists(user));
  Put(bin / "back.bmp", "portable");
  EXPECT_EQ(Choose(), bin.string());
  EXPECT_EQ(Choose("/some/dir"), "/some/dir");
  EXPECT_FALSE(fs::exists(user));
  fs::remove(bin / "back.bmp");
  EXPECT_EQ(Choose(), user.string()) << error;
}

TEST_F(Installed, FirstStartSeedsThePerUserFolderAndLaterStartsKeepThePlayersFiles) {
  ASSERT_EQ(Choose(), user.string()) << error;
  EXPECT_EQ(Get(user / "back.bmp"), "picture");
  EXPECT_EQ(Get(user / "rapdata.ini"), "CAT\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(user), fs::directory_iterator()), 2);

  Put(user / "rapdata.ini", "DOG\r\n");
  fs::remove(user / "back.bmp");
  ASSERT_EQ(Choose(), user.string()) << error;
  EXPECT_EQ(Get(user / "rapdata.ini"), "DOG\r\n");
  EXPECT_EQ(Get(user / "back.bmp"), "picture");  // a missing file is copied again
  EXPECT_FALSE(fs::exists(bin / "rapikosc.ini"));
}

TEST_F(Installed, WithoutInstalledFilesTheFolderIsMadeEmpty) {
  fs::remove_all(tmp.path / "share");
  ASSERT_EQ(Choose(), user.string()) << error;
  EXPECT_TRUE(fs::is_empty(user));
}

TEST_F(Installed, FaultsAreOneLineNamingTheWayOut) {
  dirs = {"", ""};
  EXPECT_FALSE(Choose());
  EXPECT_NE(error.find("--dir"), std::string::npos) << error;

  Put(tmp.path / "file", "");
  dirs = {(tmp.path / "file").string(), ""};  // the folder would be inside a file
  EXPECT_FALSE(Choose());
  EXPECT_NE(error.find((tmp.path / "file/rapiko").string()), std::string::npos) << error;
  EXPECT_EQ(error.find('\n'), std::string::npos);
}

}  // namespace
