// The choice of the game folder, and the first start of the per-user folder and of a new --dir.
#include "app/game_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <tuple>

#include "storage/folders.h"
#include "storage/paths.h"
#include "support/game_dir.h"

namespace {

namespace fs = std::filesystem;
using storage::UserDirs;
using testing_support::U8Path;

TEST(GameFolder, PerUserFoldersFollowAppDataThenXdgThenHome) {
  const std::string kAppData = "C:\\Users\\Zo\xC3\xAB\\AppData\\Roaming";
  const std::string kInAppData = kAppData + (storage::kDriveLetters ? "\\Rapiko" : "/Rapiko");
  const struct {
    UserDirs dirs;
    std::string data, config;
  } cases[] = {
      {{.xdgDataHome = "/data", .home = "/home/p", .xdgConfigHome = "/conf"},
       "/data/rapiko",
       "/conf/rapiko"},
      {{.home = "/home/p"}, "/home/p/.local/share/rapiko", "/home/p/.config/rapiko"},
      // Relative XDG folders are invalid: ignored.
      {{.xdgDataHome = "data", .home = "/home/p", .xdgConfigHome = "conf"},
       "/home/p/.local/share/rapiko",
       "/home/p/.config/rapiko"},
      {{}, "", ""},
      // Windows: one folder for the results and the settings, joined with the
      // separator the folder's name uses (only Windows reads '\\' as one).
      {{.home = "/home/p", .appData = kAppData}, kInAppData, kInAppData},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(storage::PerUserFolder(c.dirs), c.data) << c.data;
    EXPECT_EQ(storage::ConfigFolder(c.dirs), c.config) << c.config;
  }
}

// An installed layout: bin/ beside share/rapiko/ with the default files.
class Installed : public ::testing::Test {
 protected:
  Installed() {
    Put("share/rapiko/back.bmp", "picture");
    Put("share/rapiko/rapdata.ini", "CAT\r\n");
    fs::create_directories(U8Path(bin));
  }
  void Put(const std::string& file, const std::string& text) const {
    fs::create_directories(U8Path(tmp.File(file)).parent_path());
    tmp.Write(file, text);
  }
  app::FolderPlaces Places() const {
    return {.programFolder = bin,
            .installedData = bin + "/../share/rapiko",
            .dirs = dirs,
            .programFolderMustBeWritable = mustBeWritable,
            .portableCopyKeepsSettings = mustBeWritable,
            .canWrite = canWrite};
  }
  std::optional<std::string> Choose(const std::string& dirOption = "") {
    error.clear();
    return app::ChooseGameFolder(dirOption, Places(), error);
  }
  // The names in a folder under tmp, sorted, blank-separated.
  std::string Names(const std::string& folder) const {
    std::string out;
    for (const auto& n : storage::ListFolder(tmp.File(folder))) out += (out.empty() ? "" : " ") + n;
    return out;
  }
  testing_support::GameDir tmp{""};  // its own back.bmp is outside bin/
  const std::string bin = tmp.File("bin");
  // The per-user folder as this system has it: under APPDATA on Windows, XDG_DATA_HOME elsewhere.
  const std::string userName = storage::kDriveLetters ? "xdg/Rapiko" : "xdg/rapiko";
  const std::string user = tmp.File(userName);
  UserDirs dirs = storage::kDriveLetters
                      ? UserDirs{.appData = tmp.File("xdg")}
                      : UserDirs{.xdgDataHome = tmp.File("xdg"), .home = tmp.File("home")};
  bool mustBeWritable = false;
  std::function<bool(const std::string&)> canWrite;
  std::string error;
};

TEST_F(Installed, DirOptionThenAProgramFolderWithBackBmpThenThePerUserFolder) {
  const std::string mine = tmp.File("mine");
  Put("mine/back.bmp", "mine");
  EXPECT_EQ(Choose(mine), mine);
  EXPECT_FALSE(fs::exists(U8Path(user)));
  Put("bin/back.bmp", "portable");
  EXPECT_EQ(Choose(), bin);
  EXPECT_EQ(Choose(mine), mine);
  EXPECT_FALSE(fs::exists(U8Path(user)));
  tmp.Remove("bin/back.bmp");
  EXPECT_EQ(Choose(), user) << error;
  EXPECT_EQ(Names("mine"), "back.bmp");
}

// A new or empty --dir is filled as the per-user folder is, from the program's
// folder when it holds the game's files; one that holds anything is left alone.
TEST_F(Installed, ANewOrEmptyDirOptionIsMadeAndFilled) {
  fs::create_directories(U8Path(tmp.File("empty")));
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

// Where the program's folder must be writable (Windows), a portable copy
// the player cannot write in starts the per-user folder with its own files;
// one in use keeps its settings beside it too.
TEST_F(Installed, AProgramFolderThatCannotBeWrittenSeedsThePerUserFolder) {
  Put("bin/back.bmp", "portable");
  Put("bin/rapdata.ini", "DOG\r\n");
  const struct {
    bool mustBeWritable, writable;
    bool inPlace;
  } cases[] = {{false, false, true}, {true, true, true}, {true, false, false}};
  for (const auto& c : cases) {
    mustBeWritable = c.mustBeWritable;
    canWrite = [&](const std::string& folder) {
      EXPECT_EQ(folder, bin);
      return c.writable;
    };
    const std::optional<std::string> chosen = Choose();
    EXPECT_EQ(chosen, c.inPlace ? bin : user) << error;
    EXPECT_EQ(app::SettingsFolder(chosen.value_or(""), Places()),
              c.mustBeWritable && c.inPlace ? bin : storage::ConfigFolder(dirs));
  }
  EXPECT_EQ(tmp.Read(userName + "/back.bmp"), "portable");
  EXPECT_EQ(tmp.Read(userName + "/rapdata.ini"), "DOG\r\n");
  // Without a test's say, the check is a file made and removed again.
  mustBeWritable = true;
  canWrite = nullptr;
  EXPECT_EQ(Choose(), bin) << error;
  EXPECT_EQ(std::distance(fs::directory_iterator(U8Path(bin)), fs::directory_iterator()), 2);
}

// The first start seeds the per-user folder (under a player's name that is not ASCII too, or
// empty without installed files); a later start copies a missing file again and keeps the
// player's own.
TEST_F(Installed, FirstStartSeedsThePerUserFolderAndLaterStartsKeepThePlayersFiles) {
  ASSERT_EQ(Choose(), user) << error;
  EXPECT_EQ(Names(userName), "back.bmp rapdata.ini");
  EXPECT_EQ(tmp.Read(userName + "/back.bmp"), "picture");
  Put(userName + "/rapdata.ini", "DOG\r\n");
  tmp.Remove(userName + "/back.bmp");
  ASSERT_EQ(Choose(), user) << error;
  EXPECT_EQ(std::pair(tmp.Read(userName + "/rapdata.ini"), tmp.Read(userName + "/back.bmp")),
            std::pair(std::string("DOG\r\n"), std::string("picture")));
  EXPECT_FALSE(tmp.Exists("bin/rapikosc.ini"));

  const std::string zoe = "Users/Zo\xC3\xAB/AppData/Roaming";
  dirs = {.appData = tmp.File(zoe)};
  ASSERT_EQ(Choose(), tmp.File(zoe + "/Rapiko")) << error;
  EXPECT_EQ(Names(zoe + "/Rapiko"), "back.bmp rapdata.ini");
  EXPECT_EQ(tmp.Read(zoe + "/Rapiko/rapdata.ini"), "CAT\r\n");

  fs::remove_all(U8Path(tmp.File("share")));
  dirs = {.appData = tmp.File("empty")};
  ASSERT_EQ(Choose(), tmp.File("empty/Rapiko")) << error;
  EXPECT_EQ(Names("empty/Rapiko"), "");
}

// A --dir that is a file, in a file or a link to nowhere (where the system makes links; Wine makes
// none), no per-user folder at all, or one that would be inside a file: one line naming it, or
// the way out.
TEST_F(Installed, FaultsAreOneLineNamingTheWayOut) {
  Put("file", "mine");
  const bool linked = testing_support::MakeLink(tmp.File("nowhere"), tmp.File("dangling"));
  const std::string dangling = tmp.File(linked ? "dangling" : "file");
  const struct {
    std::string dir;
    UserDirs dirs;
    std::string named;
  } cases[] = {
      {tmp.File("file"), dirs, tmp.File("file")},
      {tmp.File("file/below"), dirs, tmp.File("file/below")},
      {dangling, dirs, dangling},
      {"", {}, std::string(storage::kNoUserDirs) + "; use --dir"},
      {"", {.appData = tmp.File("file")}, tmp.File("file/Rapiko")},
  };
  for (const auto& c : cases) {
    dirs = c.dirs;
    EXPECT_FALSE(Choose(c.dir)) << c.named;
    EXPECT_NE(error.find(c.named), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }
  EXPECT_EQ(tmp.Read("file"), "mine");
  EXPECT_FALSE(fs::exists(U8Path(tmp.File("nowhere"))));
}

}  // namespace
