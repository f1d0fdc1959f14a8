// The kept best rounds as the options screen lists them (names read, dates shown, lists noted),
// walked, left and one chosen to watch there; a choice of the options kept in the settings
// file; and the online ranking's line.
#include "game/kept_rounds.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/in_process.h"
#include "support/script_run.h"

namespace game {
namespace {

TEST(KeptRounds, OnlyKeptRoundNamesAreListedHighestScoreFirstWithDateAndList) {
  testing_support::GameDir dir;
  std::filesystem::create_directory(dir.File("replays"));
  const std::pair<std::string, std::string> files[] = {
      {"best-20261207-190155-120.script", "# rapiko recording\n# list digits\nstart 1\n"},
      {"best-20261130-080000-940.script", "# list \nstart 1\n"},
      {"best-20261201-235959-120-2.script", "start 1\n"},
      {"best-20261207-190142-4294967296.script", ""},  // ten digits
      {"best-20261207-190142-7-9999.script", ""},
  };
  for (const auto& [name, text] : files) dir.Write("replays/" + name, text);
  // Not kept rounds: other names, wrong digits, the temporaries of a keep.
  std::istringstream others(
      "best-2026127-190155-5.script best-20261207-1901-5.script best-20261207-190155-.script "
      "best-20261207-190155-5-12345.script best-20261207-190155-5.txt "
      "best-20261207-190142-45x.script best-20261207-190142-456-2-3.script "
      "best-20261207-190142-12345678901.script best-202612071-190142-7.script "
      "best-20261207-1901420-7.script best-20261207-190142-7-.script notes.script "
      ".best-abcdefghijkl");
  for (std::string name; others >> name;) dir.Write("replays/" + name, "");
  std::vector<std::tuple<std::string, std::string, int64_t, std::string>> got;
  for (const state::KeptRound& r : ListKeptRounds(dir.Path() + "/"))
    got.emplace_back(std::filesystem::path(r.file).filename().string(), r.when, r.score, r.list);
  const decltype(got) expected = {
      {"best-20261207-190142-4294967296.script", "2026-12-07 19:01", 4294967296, ""},
      {"best-20261130-080000-940.script", "2026-11-30 08:00", 940, ""},
      {"best-20261207-190155-120.script", "2026-12-07 19:01", 120, "digits"},
      {"best-20261201-235959-120-2.script", "2026-12-01 23:59", 120, ""},
      {"best-20261207-190142-7-9999.script", "2026-12-07 19:01", 7, ""},
  };
  EXPECT_EQ(got, expected);
  EXPECT_TRUE(ListKeptRounds(dir.File("none") + "/").empty());
}

TEST(KeptRounds, TheListNoteRoundTrips) {
  for (const std::string name : {"", "digits", "my words"}) {
    EXPECT_EQ(NotedList("# rapiko\n# " + ListNote(name) + "\r\nstart 1\n"), name);
  }
  EXPECT_EQ(NotedList("start 1\n# other note\n"), "");
  EXPECT_EQ(NotedList("# list first\n# list second\n"), "first");
  EXPECT_EQ(NotedList("tick 16 # list x\n"), "");
}

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
}  // namespace game
