// The settings file (its lines as read: cases/settings.txt): one choice written into it under
// its lock (the other lines kept as they are), a damaged file kept, temporaries swept.
#include "game/settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/game_dir.h"

namespace game {
namespace {

// Game A changes the list while game B has changed the sound since A read the file: each
// game's change stays, and the lines no game of this version understands too.
TEST(Settings, AChoiceIsWrittenIntoTheFileAsOtherGamesLeftIt) {
  testing_support::GameDir dir;
  const std::string path = dir.File("config/rapiko/settings.ini");
  Settings a{.sound = true};
  EXPECT_EQ(WriteSetting(path, a, "sound"), std::nullopt);
  a.words = "home";
  EXPECT_EQ(WriteSetting(path, a, "words"), std::nullopt);
  EXPECT_EQ(dir.Read("config/rapiko/settings.ini"), "sound=on\nwords=home\n");
  dir.Write("config/rapiko/settings.ini", "# mine\nsound=off\ncolour=red\nwords=home\n");
  dir.Write("config/rapiko/settings.ini.tmp-AbCdEf123456", "left by a killed game");
  a.words = "digits";
  EXPECT_EQ(WriteSetting(path, a, "words"), std::nullopt);
  EXPECT_EQ(dir.Read("config/rapiko/settings.ini"),
            "# mine\nsound=off\ncolour=red\nwords=digits\n");
  EXPECT_EQ(a, (Settings{.words = "digits", .sound = false}));  // as the file has them now
  EXPECT_FALSE(dir.Exists("config/rapiko/settings.ini.tmp-AbCdEf123456"));
  EXPECT_FALSE(dir.Exists("config/rapiko/settings.ini.bak"));
  a.words.reset();  // the game folder's own list: no line
  EXPECT_EQ(WriteSetting(path, a, "words"), std::nullopt);
  EXPECT_EQ(dir.Read("config/rapiko/settings.ini"), "# mine\nsound=off\ncolour=red\n");

  // A damaged, oversized file: what was read chooses, one line says so, and the first write
  // keeps the old bytes as settings.ini.bak.
  const std::string big = "words=digits\n\x01\x02\n" + std::string(70 * 1024, '#');
  dir.Write("config/rapiko/settings.ini", big);
  std::vector<std::string> notices;
  const auto notice = [&](const std::string& line) { notices.push_back(line); };
  EXPECT_EQ(ReadSettings(path, notice), Settings{.words = "digits"});
  EXPECT_EQ(notices.size(), 1u);
  EXPECT_EQ(WriteSetting(path, a, "language"), std::nullopt);
  EXPECT_EQ(dir.Read("config/rapiko/settings.ini"), "words=digits\n");
  EXPECT_EQ(dir.Read("config/rapiko/settings.ini.bak"), big);
}

TEST(Settings, StaleTemporariesAreSweptAtStartAndNothingIsMadeWithoutThem) {
  testing_support::GameDir dir;
  std::filesystem::create_directories(dir.File("config"));
  RemoveSettingsLeftOvers(dir.File("config"));
  EXPECT_TRUE(std::filesystem::is_empty(dir.File("config")));
  dir.Write("config/settings.ini.tmp-AbCdEf123456", "left by a killed game");
  dir.Write("config/notes.tmp-x", "the player's");
  RemoveSettingsLeftOvers(dir.File("config"));
  EXPECT_FALSE(dir.Exists("config/settings.ini.tmp-AbCdEf123456"));
  EXPECT_TRUE(dir.Exists("config/notes.tmp-x"));
}

TEST(Settings, AFileThatCannotBeReadIsReportedAndNeverWrittenOver) {
  testing_support::GameDir dir;
  std::vector<std::string> notices;
  const auto notice = [&](const std::string& line) { notices.push_back(line); };
  EXPECT_EQ(ReadSettings(dir.File("none.ini"), notice), Settings{});  // none made yet
  EXPECT_TRUE(notices.empty());
  // A folder where the file should be: one line, no choices, nothing written over.
  std::filesystem::create_directory(dir.File("folder.ini"));
  EXPECT_EQ(ReadSettings(dir.File("folder.ini"), notice), Settings{});
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices[0].find(dir.File("folder.ini")), std::string::npos) << notices[0];
  Settings settings{.sound = false};
  for (const std::string& path : {dir.File("folder.ini"), dir.File("back.bmp/settings.ini")}) {
    const auto failed = WriteSetting(path, settings, "sound");
    ASSERT_TRUE(failed.has_value());
    EXPECT_EQ(failed->rfind("cannot write the settings " + path + ": ", 0), 0u) << *failed;
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder.ini")));
}

}  // namespace
}  // namespace game
