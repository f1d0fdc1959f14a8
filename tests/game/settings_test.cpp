// The settings file: its lines read (damaged ones ignored with a line each), written back, kept.
#include "game/settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/script_run.h"

namespace game {
namespace {

TEST(Settings, EachGoodLineIsReadAndEachOtherIgnoredWithOneNotice) {
  const struct {
    std::string bytes;
    Settings settings;
    std::vector<std::string> notices;
  } cases[] = {
      {"", {}, {}},
      {"words=digits\npractice=on\nsound=off\nkeys=position\ndisplay=window\nscale=3\n"
       "language=fr\n",
       {"digits", true, false, true, false, 3, "fr"},
       {}},
      {"# a comment\r\n\r\npractice=off\r\nkeys=character\r\ndisplay=fullscreen\r\nscale=0",
       {.practice = false, .keysByPosition = false, .fullscreen = true, .scale = 0},
       {}},
      {"words=/home/zoë/my words.ini\nlanguage=de",
       {.words = "/home/zoë/my words.ini", .language = "de"},
       {}},
      {"sound=yes\nscale=9\nscale=10\nlanguage=es\nwords=\ncolour=red\nsound\n=on\nkeys=Position",
       {},
       {"settings line 1 ignored: 'sound=yes'", "settings line 2 ignored: 'scale=9'",
        "settings line 3 ignored: 'scale=10'", "settings line 4 ignored: 'language=es'",
        "settings line 5 ignored: 'words='", "settings line 6 ignored: 'colour=red'",
        "settings line 7 ignored: 'sound'", "settings line 8 ignored: '=on'",
        "settings line 9 ignored: 'keys=Position'"}},
      {"sound=off\nsound=on\n", {.sound = true}, {}},  // the last one holds
      {"practice=on\n" + std::string(200, 'x') + "\n",
       {.practice = true},
       {"settings line 2 ignored: '" + std::string(80, 'x') + "'"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> notices;
    const Settings s =
        ParseSettings(c.bytes, [&](const std::string& line) { notices.push_back(line); });
    EXPECT_EQ(s, c.settings) << c.bytes;
    EXPECT_EQ(notices, c.notices) << c.bytes;
    // What is read is written back as read.
    EXPECT_EQ(ParseSettings(SettingsBytes(s), [](const std::string& line) { FAIL() << line; }), s);
  }
}

TEST(Settings, WrittenDurablyWithTheirFoldersAndReadBack) {
  testing_support::GameDir dir;
  const std::string path = dir.File("config/rapiko/settings.ini");
  const Settings settings{.words = "home", .sound = false, .language = "ja"};
  EXPECT_EQ(WriteSettings(path, settings), std::nullopt);
  EXPECT_EQ(dir.Read("config/rapiko/settings.ini"), "words=home\nsound=off\nlanguage=ja\n");
  std::vector<std::string> notices;
  const auto notice = [&](const std::string& line) { notices.push_back(line); };
  EXPECT_EQ(ReadSettings(path, notice), settings);
  EXPECT_EQ(ReadSettings(dir.File("none.ini"), notice), Settings{});  // none made yet
  EXPECT_TRUE(notices.empty());

  // A folder where the file should be: one line, no choices, nothing written over.
  std::filesystem::create_directory(dir.File("folder.ini"));
  EXPECT_EQ(ReadSettings(dir.File("folder.ini"), notice), Settings{});
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices[0].find(dir.File("folder.ini")), std::string::npos) << notices[0];
  const std::string background = dir.Read("back.bmp");
  const auto failed = WriteSettings(dir.File("back.bmp/settings.ini"), settings);
  ASSERT_TRUE(failed.has_value());
  EXPECT_EQ(
      failed->rfind("cannot write the settings " + dir.File("back.bmp/settings.ini") + ": ", 0), 0u)
      << *failed;
  EXPECT_EQ(dir.Read("back.bmp"), background);
}

}  // namespace
}  // namespace game
