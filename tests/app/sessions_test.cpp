// A recording shown again: the rounds before the one to watch unseen, and nothing written.
#include "app/sessions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "ranking/ranking_file.h"
#include "support/script_run.h"
#include "support/test_window.h"

namespace {

namespace fs = std::filesystem;
using testing_support::GameDir;

using Window = testing_support::TestWindow;

const std::string kRound1 = "press 57\ntick 16\ntick 16 7501\npress 28\ntick 16\n";

// A session recorded whole (by --record, or kept as a best round by an
// earlier version) shows every pass, or only those after the one that
// starts the round to watch.
TEST(Replay, RoundsBeforeTheOneToWatchAreNotShown) {
  GameDir dir("");
  for (const auto& [text, shown] :
       {std::pair{std::string("tick 16 2\n"), 2},
        {"# replay from round 2\n" + kRound1 + "press 57\ntick 16\ntick 16 3\n", 3}}) {
    Window window;
    std::ostringstream err;
    EXPECT_EQ(app::PlayRecording("r", text, dir.Path() + "/", window, err), 0) << err.str();
    EXPECT_EQ(window.Flips(), shown) << text;
  }
  Window window;
  std::ostringstream bad;
  EXPECT_EQ(app::PlayRecording("r.script", "tick 16\nbogus\n", dir.Path() + "/", window, bad), 2);
  EXPECT_EQ(bad.str(), "r.script: script line 2: unknown command 'bogus'\n");
  dir.Remove("back.bmp");  // a start-up that fails: status 1, and says why
  std::ostringstream err;
  EXPECT_EQ(app::PlayRecording("r", "tick 16\n", dir.Path() + "/", window, err), 1);
  EXPECT_NE(err.str().find("back.bmp"), std::string::npos) << err.str();
}

// Esc pressed in the window stops the replay at the next pass; Esc let go does not.
TEST(Replay, EscPressedInTheWindowStopsIt) {
  GameDir dir("");
  for (const auto& [data, flips] : {std::pair{0, 3}, {media::kKeyDown, 1}}) {
    Window window;
    window.platform.QueueKey(state::kKeyEsc, data);
    std::ostringstream err;
    EXPECT_EQ(app::PlayRecording("r", "tick 16 3\n", dir.Path() + "/", window, err), 0);
    EXPECT_EQ(window.Flips(), flips) << data;
  }
}

// A replay keeps the recording's pace on the window's clock: it waits as
// long as the shown passes took, not for the rounds it runs through unseen,
// and not at all when the window is already behind.
TEST(Replay, WaitsAsLongAsTheShownPassesTook) {
  GameDir dir("");
  struct Case {
    std::string text;
    uint32_t behind;  // how far the window's clock falls behind on each pass
    uint64_t waited;
  };
  // The first shown pass sets the start; each one after it waits its share.
  for (const Case& c :
       {Case{"tick 16 10\n", 0, 9 * 16}, Case{"tick 40 3\ntick 7 2\n", 0, 2 * 40 + 2 * 7},
        Case{"# replay from round 2\n" + kRound1 + "press 57\ntick 16\ntick 20 4\n", 0, 3 * 20},
        Case{"tick 16 10\n", 100, 0}}) {
    Window window;
    window.lag = c.behind;
    std::ostringstream err;
    EXPECT_EQ(app::PlayRecording("r", c.text, dir.Path() + "/", window, err), 0) << err.str();
    EXPECT_EQ(window.waited, c.waited) << c.text;
  }
}

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// A replay writes nothing: not the screenshot a recording asks for (one
// line says so), not the result it enters, not the round's history, and
// nothing of its own, in the folder or the temporary folder, even while it
// runs (a replay that is killed leaves nothing behind).
TEST(Replay, WritesNothing) {
  GameDir dir, tmp("");
  const std::string ranking = ranking::RankingFileBytes(state::GameState{});
  dir.Write("rapikosc.ini", ranking);
  const std::string shot = dir.File("rapikosc.ini");  // even where the game's file is
  const std::string text = "tick 16\nscreenshot " + dir.File("shot.png") + "\nscreenshot " + shot +
                           "\n" + kRound1 + "state\n";
  const auto before = std::pair(Names(dir.Path()), Names(tmp.Path()));
  const char* const oldTmp = std::getenv("TMPDIR");
  const std::string keptTmp = oldTmp ? oldTmp : "";
  setenv("TMPDIR", tmp.Path().c_str(), 1);
  Window window;
  std::ostringstream err;
  int entered = 0;
  std::pair<std::vector<std::string>, std::vector<std::string>> during;
  EXPECT_EQ(app::PlayRecording("r", text, dir.Path() + "/", window, err,
                               [&](const state::GameState& g) {
                                 entered = static_cast<int>(g.unsavedResults.size());
                                 during = std::pair(Names(dir.Path()), Names(tmp.Path()));
                               }),
            0);
  if (oldTmp) {
    setenv("TMPDIR", keptTmp.c_str(), 1);
  } else {
    unsetenv("TMPDIR");
  }
  EXPECT_EQ(entered, 1);  // the round was played and its result entered, in the game only
  EXPECT_EQ(err.str(), "script line 2: screenshot " + dir.File("shot.png") +
                           " not written: a replay writes nothing\nscript line 3: screenshot " +
                           shot + " not written: a replay writes nothing\n");
  EXPECT_EQ(dir.Read("rapikosc.ini"), ranking);
  EXPECT_EQ(during, before);
  EXPECT_EQ(std::pair(Names(dir.Path()), Names(tmp.Path())), before);
}

}  // namespace
