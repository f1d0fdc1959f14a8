// Saving the ranking file: the merge with the file as it is now, its mode, what a failed save
// says, and the rankings of lists of any name (the write itself: tests/storage/; two games saving
// at once: SharedFolder).
#include "ranking/ranking_save.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/syscall.h>

#include <algorithm>
#include <filesystem>

#include "ranking/ranking_file.h"
#include "storage/folders.h"
#include "support/failing_calls.h"
#include "support/game_dir.h"

namespace {

// The file holds OLD0 at 90000000 down to OLD9; a game that read no ranking entered 89995500
// under a name with a comma, which the save puts in at place 6. A failed save leaves the old
// file and the game's unsaved result; a folder that cannot be synced has the new file already.
TEST(SaveRanking, EntersUnsavedResultsIntoTheFileOrSaysWhyNot) {
  state::GameState old;
  for (int i = 0; i < 10; ++i) {
    old.rankNames[i] = "OLD" + std::to_string(i);
    old.rankKeys[i] = 90000000 - 1000 * i;
  }
  state::GameState merged = old;
  merged.entryName = "NEW,ER";
  std::rotate(merged.rankNames.begin() + 5, merged.rankNames.end() - 1, merged.rankNames.end());
  std::rotate(merged.rankKeys.begin() + 5, merged.rankKeys.end() - 1, merged.rankKeys.end());
  merged.rankNames[5] = "NEW,ER";
  merged.rankKeys[5] = 89995500;
  const std::string oldBytes = ranking::RankingFileBytes(old);
  const std::string newBytes = ranking::RankingFileBytes(merged);
  const long kFolderOpen = -1;  // an open of the folder, to list or sync it
  const struct {
    long call;  // that fails with error, or none
    int error;
    std::string said;   // FILE: the ranking file
    bool saved, swept;  // the new file in place; the stale temporary removed
  } cases[] = {
      {0, 0, "", true, true},
      // A full disk, as the file's sync reports it (failing every write would fail the
      // sanitizers' own writes too).
      {SYS_fsync, ENOSPC, "cannot write the ranking file FILE: No space left on device", false,
       true},
      {SYS_flock, EIO,
       "cannot write the ranking file FILE: the lock file FILE.lock cannot be locked: "
       "Input/output error",
       false, false},
      {kFolderOpen, EIO,
       "the ranking file FILE was replaced, but its folder could not be synced (Input/output "
       "error): a system crash now could still undo the save",
       true, false},
  };
  for (const auto& c : cases) {
    testing_support::GameDir dir("");
    const std::string file = dir.File("rapikosc.ini");
    dir.Remove("back.bmp");
    dir.Write("rapikosc.ini", oldBytes);
    chmod(file.c_str(), 0640);
    // Temporaries of saves that died; only the save's own pattern is removed.
    dir.Write("rapikosc.ini.tmp-AbCdEf123456", "partial");
    dir.Write("rapikosc.ini.tmp-12345", "partial");
    const std::string said = storage_testing::InChildFailing(
        c.call > 0 ? std::vector<long>{c.call} : std::vector<long>{}, c.error,
        [&] {
          state::GameState g;
          g.entryName = "NEW,ER";
          g.unsavedResults.push_back({89995500, "NEW,ER"});
          g.unsavedName = true;
          std::string message;
          try {
            ranking::SaveRanking(g, dir.Path() + "/");
          } catch (const ranking::SaveError& e) {
            message = e.what();
          }
          const bool shown = g.unsavedResults.empty() && !g.unsavedName &&
                             ranking::RankingFileBytes(g) == newBytes;
          const bool kept = g.unsavedResults.size() == 1 && g.unsavedName;
          return message + (shown ? " | shown" : kept ? " | kept" : " | lost");
        },
        c.call == kFolderOpen ? O_DIRECTORY : 0);
    if (said == storage_testing::kNoSeccomp) GTEST_SKIP() << "no seccomp filters here";
    std::string expected = c.said;
    for (size_t at; (at = expected.find("FILE")) != std::string::npos;)
      expected.replace(at, 4, file);
    EXPECT_EQ(said, expected + (c.saved ? " | shown" : " | kept"));
    EXPECT_EQ(dir.Read("rapikosc.ini"), c.saved ? newBytes : oldBytes) << c.said;
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0640));
    std::string left;
    for (const std::string& name : storage::ListFolder(dir.Path()))
      if (name != "rapikosc.ini") left += (left.empty() ? "" : " ") + name;
    EXPECT_EQ(left, std::string("rapikosc.ini.lock rapikosc.ini.tmp-12345") +
                        (c.swept ? "" : " rapikosc.ini.tmp-AbCdEf123456"))
        << c.said;
  }
}

// Another game's saves filled the ten places with better results since this game read the file:
// its result, once in the ten, is left out, and the other game's ranking stays as it is.
TEST(SaveRanking, AResultPushedOutOfTheTenMeanwhileIsLeftOut) {
  testing_support::GameDir dir("");
  state::GameState others;
  for (int i = 0; i < 10; ++i) {
    others.rankNames[i] = "OTHER" + std::to_string(i);
    others.rankKeys[i] = 90000000 - 1000 * i;
  }
  const std::string bytes = ranking::RankingFileBytes(others);
  dir.Write("rapikosc.ini", bytes);
  state::GameState g;
  g.unsavedResults.push_back({89991000, "LATE"});  // equal to the tenth: below it
  ranking::SaveRanking(g, dir.Path() + "/");
  EXPECT_EQ(dir.Read("rapikosc.ini"), bytes);
  EXPECT_TRUE(g.unsavedResults.empty());
}

// A list of any name keeps its results: its ranking's name (and its temporary's) stays bounded,
// and lists whose long names share a beginning rank apart.
TEST(LongListNames, EachKeepsItsOwnResults) {
  testing_support::GameDir dir("");
  const std::string myPath = dir.Path() + "/";
  const std::string stem(236, 'x');
  // Multi-byte characters where a 64-byte cut would fall.
  for (const std::string& name :
       {stem + "a", stem + "b", std::string(63, 'y') + "\xC3\xA9" + stem}) {
    auto g = std::make_unique<state::GameState>();
    g->choices.listName = name;
    g->unsavedResults.push_back({static_cast<int32_t>(name.back()), "ME"});
    ranking::SaveRanking(*g, myPath);
    auto back = std::make_unique<state::GameState>();
    back->choices.listName = name;
    EXPECT_EQ(ranking::LoadRanking(*back, myPath), "");
    EXPECT_EQ(back->rankKeys[0], name.back()) << name;
    EXPECT_EQ(back->rankKeys[1], 0) << name;  // no other list's result
  }
}

}  // namespace
