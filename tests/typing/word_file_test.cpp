// Choosing the words: a file by its path, the game folder's own lists before the shipped ones
// (each shipped list by name is a golden game: tests/golden/words_list_*).
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "support/script_run.h"

namespace {

using testing_support::GameDir;
using testing_support::RunScript;

TEST(WordFile, WordsFromAFileOrAListInsteadOfRapdataIni) {
  GameDir dir;  // its rapdata.ini holds CAT, DOG, EMU
  dir.Write("mine.txt", "owl\nno!\n");
  std::filesystem::create_directory(dir.File("words"));
  dir.Write("words/home.ini", "yak");  // the game folder's list comes first
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string firstWord, err, ranking;
  };
  const std::vector<Case> cases = {
      {{"--words", dir.File("mine.txt")},
       0,
       "OWL",
       dir.File("mine.txt") +
           ": 1 item dropped (line 2 \"no!\": only A-Z, 0-9 and - are allowed)\n",
       "rankings/mine.ini"},
      {{"--words", "home"}, 0, "YAK", "", "rankings/home.ini"},
      {{"--words", dir.File("rapdata.ini")}, 0, "CAT", "", "rapikosc.ini"},
      {{"--words", dir.File("none.ini")},
       0,
       "",
       dir.File("none.ini") +
           ": no words loaded, nothing will fall; cannot open it: No such file or "
           "directory\n",
       "rankings/none.ini"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[1]);
    dir.Remove("rapikosc.ini");
    const auto r = RunScript(dir, "state\n", c.args);
    EXPECT_EQ(std::tuple(r.exitCode, r.err), std::tuple(c.exitCode, c.err));
    EXPECT_EQ(r.States().at(0)["words"][1], c.firstWord);
    // Each list keeps its own ranking; the game folder's list keeps rapikosc.ini.
    EXPECT_TRUE(dir.Exists(c.ranking));
    EXPECT_EQ(dir.Exists("rapikosc.ini"), c.ranking == "rapikosc.ini");
  }
  const auto r = RunScript(dir, "state\n", {"--words", "nosuch"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("no word list 'nosuch' in " + dir.File("words") + ", "), std::string::npos)
      << r.err;
  EXPECT_TRUE(r.lines.empty());
}

}  // namespace
