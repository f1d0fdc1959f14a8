// Word files past their size limit, and a --words that names nothing.
#include <gtest/gtest.h>

#include "support/script_run.h"
#include "typing/word_data.h"

namespace {

// Past kMaxWordFileBytes the reading stops as at a read error: the items
// before the cut load, quoted or not; the one running into it is left out.
TEST(WordRead, AFileCutAtItsLimitKeepsTheItemsReadWhole) {
  const std::string past(typing::kMaxWordFileBytes, 'X');
  const struct {
    std::string file;
    int words;
    int line;  // where the reading stopped
  } cases[] = {
      {"\"cat\",dog,\"elk\"x\r\n\"" + past, 3, 2},  // a quote that never closes
      {"cat\n\"dog\"\nelk,\n" + past, 3, 4},        // an unquoted item
      {"\"cat\"\n" + past, 1, 2},
  };
  for (const auto& c : cases) {
    testing_support::GameDir dir("");
    dir.Write("rapdata.ini", c.file);
    state::GameState g;
    const typing::WordReport r = typing::LoadWordData(g, dir.File("rapdata.ini"));
    EXPECT_EQ(r.words, c.words) << c.file.substr(0, 20);
    EXPECT_EQ(g.words[1], "CAT");
    ASSERT_TRUE(r.stopped) << c.file.substr(0, 20);
    EXPECT_EQ(r.stopped->problem, typing::WordProblem::kReadFailed);
    EXPECT_EQ(r.stopped->line, c.line) << c.file.substr(0, 20);
    EXPECT_EQ(
        typing::DescribeWordReport(r, "f"),
        "f: reading stopped at line " + std::to_string(c.line) + ": larger than 16777216 bytes");
  }
}

}  // namespace

// A --words naming no file and no list is refused before the game starts (the other refusals:
// tests/golden/words_file_*); the places searched depend on where the game is installed.
TEST(WordFile, NoSuchListIsACommandLineError) {
  testing_support::GameDir dir;
  const auto r = testing_support::RunScript(dir, "state\n", {"--words", "nosuch"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err.rfind("rapiko: no word list 'nosuch' in ", 0), 0u) << r.err;
  EXPECT_TRUE(r.lines.empty());
}
