// The options screen in a real window: a choice made there is kept, read by the next game, and
// an option of the command line wins over it for one run.
#include <gtest/gtest.h>

#include <filesystem>

#include "e2e/xsession.h"
#include "support/script_run.h"

namespace {

using e2e::Pixel;
using testing_support::GameDir;

// The title as a headless game draws it in the given locale.
std::vector<Pixel> HeadlessTitle(const std::string& locale) {
  GameDir dir;
  testing_support::GameLocale() = locale;
  const auto r = testing_support::RunScript(
      dir, "tick 16\ntick 16\ntick 16\nscreenshot " + dir.File("title.png") + "\n");
  testing_support::GameLocale() = "C.UTF-8";
  EXPECT_EQ(r.exitCode, 0) << r.err;
  return e2e::LoadScreen(dir.File("title.png"));
}

// Starts the game in an English locale with its settings in config; true
// once its title shows the given picture.
bool TitleShows(e2e::XSession& x, const GameDir& dir, const std::string& config,
                const std::vector<std::string>& args, const std::vector<Pixel>& title) {
  x.SetEnv("XDG_CONFIG_HOME", config);
  x.SetEnv("LANG", "en_US.UTF-8");
  x.SetEnv("LC_ALL", "");
  x.SetEnv("LC_MESSAGES", "");
  x.StartGame(dir.Path(), args);
  return !e2e::PollScreen(x, dir.File("shot.png"), 15000, [&](const auto& s) {
            return s == title;
          }).empty();
}

void Quit(e2e::XSession& x) {
  x.Xdotool({"key", "Escape"});
  EXPECT_EQ(x.WaitForExit(15000), std::optional<int>(0));
}

TEST(RealWindow, TheLanguageChosenInTheOptionsIsKeptAndAnOptionWinsForOneRun) {
  e2e::XSession x;
  ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
  GameDir dir;
  const std::string config = dir.File("config");
  const auto english = HeadlessTitle("en_US.UTF-8");
  const auto french = HeadlessTitle("fr_FR.UTF-8");
  const auto german = HeadlessTitle("de_DE.UTF-8");
  ASSERT_NE(english, french);

  ASSERT_TRUE(TitleShows(x, dir, config, {}, english)) << "no English title";
  // O, down to the language, two to the right (English, Japanese, French), back.
  x.Xdotool({"key", "--delay", "150", "o", "Down", "Down", "Down", "Down", "Down", "Down", "Right",
             "Right", "Escape"});
  ASSERT_FALSE(
      e2e::PollScreen(x, dir.File("shot.png"), 10000, [&](const auto& s) { return s == french; })
          .empty())
      << "the title is not in French after the options";
  Quit(x);
  EXPECT_EQ(testing_support::ReadFileBytes(config + "/rapiko/settings.ini"), "language=fr\n");

  EXPECT_TRUE(TitleShows(x, dir, config, {}, french)) << "the setting is not read";
  Quit(x);
  EXPECT_TRUE(TitleShows(x, dir, config, {"--lang", "de"}, german)) << "--lang does not win";
  Quit(x);
  EXPECT_EQ(testing_support::ReadFileBytes(config + "/rapiko/settings.ini"), "language=fr\n");
}

}  // namespace
