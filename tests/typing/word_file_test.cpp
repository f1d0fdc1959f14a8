// Choosing the words: a file by its path, the game folder's own lists before the shipped ones
// (each shipped list by name is a golden game: tests/golden/words_list_*); a --words that gives
// no word is refused.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <tuple>

#include "ranking/ranking_file.h"
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
       "rankings/mine~" + ranking::ListId("mine.txt") + ".ini"},  // its path in the game folder
      {{"--words", "home"}, 0, "YAK", "", "rankings/home.ini"},
      {{"--words", dir.File("rapdata.ini")}, 0, "CAT", "", "rapikosc.ini"},
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

// The game folder's own rapdata.ini may be missing or empty (golden games words_missing,
// words_empty); a file named on the command line must give words.
TEST(WordFile, AWordFileOrListThatGivesNoWordIsACommandLineError) {
  GameDir dir;
  dir.Write("empty.ini", "");
  dir.Write("bad.ini", "no!\nab\n");
  std::filesystem::create_directory(dir.File("folder.ini"));
  mkfifo(dir.File("fifo.ini").c_str(), 0644);  // never waited on
  std::filesystem::create_directory(dir.File("words"));
  dir.Write("words/blank.ini", "\n\n");
  const struct {
    std::string value, err;
  } cases[] = {
      {"/no/such.ini", "--words /no/such.ini: cannot open it: No such file or directory"},
      {dir.File("folder.ini"),
       "--words " + dir.File("folder.ini") + ": cannot open it: not a plain file"},
      {dir.File("fifo.ini"),
       "--words " + dir.File("fifo.ini") + ": cannot open it: not a plain file"},
      {dir.File("empty.ini"),
       "--words " + dir.File("empty.ini") + ": no words in it; the file is empty"},
      {dir.File("bad.ini"), "--words " + dir.File("bad.ini") +
                                ": no words in it; 2 items dropped (line 1 \"no!\": only A-Z, 0-9 "
                                "and - are allowed; line 2 \"ab\": fewer than 3 characters)"},
      {"blank", "--words blank (" + dir.File("words/blank.ini") +
                    "): no words in it; the file holds no items"},
  };
  for (const auto& c : cases) {
    const auto r = RunScript(dir, "state\n", {"--words", c.value});
    EXPECT_EQ(std::tuple(r.exitCode, r.err), std::tuple(2, "rapiko: " + c.err + "\n"));
    EXPECT_TRUE(r.lines.empty()) << c.value;
  }
  EXPECT_FALSE(dir.Exists("rapikosc.ini"));  // refused before the game started
}

}  // namespace
