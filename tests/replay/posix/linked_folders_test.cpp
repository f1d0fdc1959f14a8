// A link planted at rankings/ or replays/: nothing is swept, pruned or written through it, and
// the refusal is one line.
#include <gtest/gtest.h>

#include <filesystem>

#include "ranking/ranking_save.h"
#include "replay/best_rounds.h"
#include "support/game_dir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::GameDir;

TEST(LinkedFolders, NothingOutsideIsSweptOrWrittenThroughThem) {
  GameDir dir("");
  GameDir outside("");
  // Named as the game's temporaries and leftovers are, and as a kept round is.
  const std::vector<std::string> theirs = {"report.tmp-ABCDEFGHIJKL", ".best-ABCDEFGHIJKL",
                                           "best-20260101-000000-1.script", "x.ini"};
  for (const std::string& name : theirs) outside.Write(name, "theirs\n");
  fs::create_directory_symlink(outside.Path(), dir.File("rankings"));
  fs::create_directory_symlink(outside.Path(), dir.File("replays"));
  const auto untouched = [&] {
    for (const std::string& name : theirs) EXPECT_EQ(outside.Read(name), "theirs\n") << name;
    // back.bmp beside them, and nothing new
    EXPECT_EQ(std::distance(fs::directory_iterator(outside.Path()), fs::directory_iterator()),
              static_cast<long>(theirs.size() + 1));
  };

  testing::internal::CaptureStderr();
  {
    replay::Recording recording;
    replay::BestRounds best(dir.Path() + "/", recording);
    state::GameState g;
    best.RoundStarted(g, 1, 0);
    best.RoundEnded(g, 1, 900);
  }
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said, "rapiko: cannot keep the best round in " + dir.File("replays") +
                      ": not a folder of the game's own (a link?)\n");
  untouched();

  auto g = std::make_unique<state::GameState>();
  g->choices.listName = "x";
  g->unsavedResults.push_back({12345, "ME"});
  try {
    ranking::SaveRanking(*g, dir.Path() + "/");
    ADD_FAILURE() << "saved through the link";
  } catch (const ranking::SaveError& e) {
    EXPECT_EQ(std::string(e.what()), "cannot write the ranking file " + dir.File("rankings/x.ini") +
                                         ": " + dir.File("rankings") +
                                         " is not a folder of the game's own (a link?)");
  }
  untouched();
}

}  // namespace
