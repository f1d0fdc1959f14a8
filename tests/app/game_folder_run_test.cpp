// The game folder as the program itself takes it: a new --dir made and filled, a file refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "support/script_run.h"

namespace {

namespace fs = std::filesystem;

// A new --dir starts a game and keeps its files there.
TEST(GameFolderRun, ANewDirStartsAndIsFilledAndAFileIsRefused) {
  testing_support::GameDir tmp;
  const std::string made = tmp.File("made/here");
  const auto r = testing_support::RunScript(tmp, "state\n", {"--dir", made});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  ASSERT_EQ(r.States().size(), 1u);
  EXPECT_EQ(r.States()[0]["words"][1], "CAT");  // the game's own list (its first word)
  EXPECT_EQ(testing_support::ReadFileBytes(made + "/back.bmp"), tmp.Read("back.bmp"));
  EXPECT_TRUE(fs::exists(made + "/rapikosc.ini"));

  const auto file = testing_support::RunScript(tmp, "state\n", {"--dir", tmp.File("rapdata.ini")});
  EXPECT_EQ(std::tuple(file.exitCode, file.err),
            std::tuple(1, "rapiko: --dir " + tmp.File("rapdata.ini") + " is not a folder\n"));
  EXPECT_TRUE(file.lines.empty());
}

}  // namespace
