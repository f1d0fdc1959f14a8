// A recording shown again: the rounds before the one to watch unseen, and nothing written.
#include "app/sessions.h"

#include <gtest/gtest.h>

#include "ranking/ranking_file.h"
#include "storage/folders.h"
#include "support/script_run.h"
#include "support/test_window.h"

namespace {

using storage::ListFolder;
using testing_support::GameDir;

using Window = testing_support::TestWindow;

const std::string kRound1 = "press 57\ntick 16\ntick 16 7501\npress 28\ntick 16\n";

// A session recorded whole (by --record, or kept as a best round by an earlier version) is shown
// pass by pass, or only after the pass that starts the round to watch. It keeps the recording's
// pace on the window's clock: it waits as long as the shown passes took (the first sets the
// start), not for the rounds it runs through unseen, and not at all when the window is already
// behind. Esc pressed in the window stops it at the next pass; Esc let go does not. A script
// error is status 2, a start-up that fails status 1, each saying why.
TEST(Replay, ShowsTheRoundToWatchAtItsPaceUntilEsc) {
  const std::string round2 = "# replay from round 2\n" + kRound1 + "press 57\ntick 16\n";
  const struct {
    std::string text;
    int esc;          // the key event of Esc queued in the window, or -1
    uint32_t behind;  // how far the window's clock falls behind on each pass
    int status, flips;
    uint64_t waited;
    std::string err;
  } cases[] = {
      {"tick 16 10\n", -1, 0, 0, 10, 9 * 16, ""},
      {"tick 40 3\ntick 7 2\n", -1, 0, 0, 5, 2 * 40 + 2 * 7, ""},
      {round2 + "tick 20 4\n", -1, 0, 0, 4, 3 * 20, ""},
      {"tick 16 10\n", -1, 100, 0, 10, 0, ""},
      {"tick 16 3\n", 0, 0, 0, 3, 2 * 16, ""},
      {"tick 16 3\n", media::kKeyDown, 0, 0, 1, 0, ""},
      {"tick 16\nbogus\n", -1, 0, 2, 1, 0, "r: script line 2: unknown command 'bogus'\n"},
      {"tick 16\n", -1, 0, 1, 0, 0, "back.bmp"},  // in a folder without it
  };
  for (const auto& c : cases) {
    GameDir dir("");
    if (c.status == 1) dir.Remove("back.bmp");
    Window window;
    window.lag = c.behind;
    if (c.esc >= 0) window.platform.QueueKey(state::kKeyEsc, c.esc);
    std::ostringstream err;
    EXPECT_EQ(app::PlayRecording("r", c.text, dir.Path() + "/", window, err), c.status)
        << err.str();
    EXPECT_EQ(std::tuple(window.Flips(), window.waited), std::tuple(c.flips, c.waited)) << c.text;
    EXPECT_EQ(err.str().empty(), c.err.empty()) << err.str();
    EXPECT_NE(err.str().find(c.err), std::string::npos) << err.str();
  }
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
  const auto before = std::pair(ListFolder(dir.Path()), ListFolder(tmp.Path()));
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
                                 during = std::pair(ListFolder(dir.Path()), ListFolder(tmp.Path()));
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
  EXPECT_EQ(std::pair(ListFolder(dir.Path()), ListFolder(tmp.Path())), before);
}

}  // namespace
