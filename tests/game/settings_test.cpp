// The settings file: its lines read (what is ignored said in one line), one choice written into
// it under its lock (the other lines kept as they are), a damaged file kept, temporaries swept.
#include "game/settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/game_dir.h"

namespace game {
namespace {

TEST(Settings, EachGoodLineIsReadAndWhatIsIgnoredIsSaidInOneLine) {
  const struct {
    std::string bytes;
    Settings settings;
    std::string report;
    std::string cut = "";
  } cases[] = {
      {"", {}, ""},
      {"words=digits\npractice=on\nsound=off\nkeys=position\ndisplay=window\nscale=3\n"
       "language=fr\n",
       {"digits", true, false, true, false, 3, "fr"},
       ""},
      {"# a comment\r\n\r\npractice=off\r\nkeys=character\r\ndisplay=fullscreen\r\nscale=0",
       {.practice = false, .keysByPosition = false, .fullscreen = true, .scale = 0},
       ""},
      {"words=/home/zoë/my words.ini\nlanguage=de",
       {.words = "/home/zoë/my words.ini", .language = "de"},
       ""},
      {"sound=off\nsound=on\n", {.sound = true}, ""},  // the last one holds
      {"online=http://a.example\nonline_ranking=off\nonline_ranking=yes\n",
       {.online = "http://a.example", .onlineRanking = false},
       "1 line not understood, kept as they are (line 3 'online_ranking=yes')"},
      // Another version's keys and values are kept; what is not key=value text is damage.
      {"sound=yes\nscale=9\nlanguage=es\nwords=\ncolour=red\nsound\n=on\nkeys=Position\n",
       {},
       "6 lines not understood, kept as they are (line 1 'sound=yes', line 2 'scale=9', line 3 "
       "'language=es', ...); 2 lines damaged, ignored (line 6, line 7); the file is kept as "
       "settings.ini.bak when a choice is next saved"},
      {"practice=on\n" + std::string(200, 'x') + "=1\n",
       {.practice = true},
       "1 line not understood, kept as they are (line 2 '" + std::string(80, 'x') + "')"},
      {"sound=off\n\x01\x02=\x03\nwords=a\xff\n\x7f\x80\n\x89PNG\x1a\nscale=2\n",
       {.sound = false, .scale = 2},
       "4 lines damaged, ignored (line 2, line 3, line 4, ...); the file is kept as "
       "settings.ini.bak when "
       "a choice is next saved"},
      // A file's first 64 KiB: the line the cut went through is not read.
      {"words=home\nsound=of",
       {.words = "home"},
       "larger than 64 KiB: only its first 64 KiB read; the file is kept as settings.ini.bak "
       "when a choice is next saved",
       "larger than 64 KiB"},
  };
  for (const auto& c : cases) {
    const SettingsFile file = ParseSettings(c.bytes, c.cut);
    EXPECT_EQ(file.settings, c.settings) << c.bytes;
    EXPECT_EQ(file.Report(), c.report) << c.bytes;
    // What is read is written back as read.
    EXPECT_EQ(ParseSettings(SettingsBytes(file.settings)).settings, file.settings);
  }
}

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
