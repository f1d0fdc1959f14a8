// The options screen of a window's game: the list of kept best rounds (walked, left, one chosen
// to watch), a choice kept in the settings file, and the online ranking's line.
#include <gtest/gtest.h>

#include "support/in_process.h"

namespace {

using testing_support::GameDir;

struct Watched {
  std::string file;  // the kept round chosen, or empty
  bool quit = false;
  bool online = false;  // the online ranking on at the end
  std::string note;     // the title's note line
};

// Plays the keys, one a pass, on the options screen of a game that may show
// kept rounds (as a window's game may).
Watched PlayKeys(const GameDir& dir, const std::string& keys, const std::string& settings = "",
                 const state::OnlineRanking& online = {}) {
  std::string text = "tick 16\n";
  std::istringstream codes(keys);
  for (std::string code; codes >> code;) text += "press " + code + "\ntick 16\n";
  state::GameState g;
  game::StartOptions options;
  options.choices.canWatch = true;
  options.choices.settingsPath = settings;
  options.choices.online = online;
  testing_support::PlayMainLoop(dir, text, g, options);
  return {g.choices.watch, g.quitRequested, g.choices.online.on, g.onlineNote};
}

// O opens the options, Up wraps to the last line (the kept rounds), Enter
// shows them, highest score first; Up and Down move within the list and
// stop at its ends, Esc goes back to the options, Enter watches.
TEST(OptionsWatch, TheKeptRoundsAreWalkedLeftAndChosen) {
  GameDir dir;
  dir.Folder("replays");
  for (const char* name : {"best-20260101-000000-20.script", "best-20260101-000000-50.script",
                           "best-20260101-000000-30.script"}) {
    dir.Write(std::string("replays/") + name, "start 1\n");
  }
  const std::string replays = dir.File("replays/best-20260101-000000-");
  const struct {
    std::string keys;
    std::string watched;  // the score in the file's name, or empty
  } cases[] = {
      {"24 200 28 28", "50"},
      {"24 200 28 208 28", "30"},
      {"24 200 28 208 208 208 208 28", "20"},  // stays on the last
      {"24 200 28 208 200 200 200 28", "50"},  // and on the first
      {"24 200 28 208 1", ""},                 // Esc: back to the options
      {"24 200 28 208 1 28 208 28", "30"},     // which show the list again from its top
  };
  for (const auto& c : cases) {
    const Watched w = PlayKeys(dir, c.keys);
    EXPECT_EQ(w.file, c.watched.empty() ? "" : replays + c.watched + ".script") << c.keys;
    EXPECT_EQ(w.quit, !c.watched.empty()) << c.keys;
  }
  // Down to the language, two to the right (English, Japanese, French): kept at once.
  PlayKeys(dir, "24 208 208 208 208 208 208 205 205 1", dir.File("settings.ini"));
  EXPECT_EQ(dir.Read("settings.ini"), "language=fr\n");
}

// Passed over without a server; each switch kept; a plain http server's ranking warned of once.
TEST(OptionsWatch, TheOnlineRankingSwitchesOnlyWithAServer) {
  GameDir dir;
  const state::OnlineRanking plain{.server = "a.example", .plainRemote = true};
  const state::OnlineRanking said{.server = "a.example", .plainRemote = true, .warned = true};
  const state::OnlineRanking on{.server = "a.example", .on = true};
  const struct {
    state::OnlineRanking online;
    bool on, warned;
    std::string file;
  } cases[] = {{{}, false, false, "language=ja\n"},  // Up goes on to the language
               {on, false, false, "online_ranking=off\n"},
               {plain, true, true, "online_ranking=on\n"},
               {said, true, false, "online_ranking=on\n"}};
  for (const auto& c : cases) {
    dir.Write("settings.ini", "");
    const Watched w = PlayKeys(dir, "24 200 205", dir.File("settings.ini"), c.online);
    EXPECT_EQ(w.online, c.on) << c.file;
    EXPECT_EQ(!w.note.empty(), c.warned) << c.file;
    EXPECT_EQ(dir.Read("settings.ini"), c.file);
  }
}

}  // namespace
