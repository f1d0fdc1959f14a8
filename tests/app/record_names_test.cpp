// --record by another name of a file: a hard link to a kept file is refused, any other name of
// the file it replaces keeps its bytes.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/script_run.h"

namespace {

namespace fs = std::filesystem;
using testing_support::GameDir;
using testing_support::RunScript;

TEST(RecordNames, AHardLinkToAKeptFileIsRefusedAndAnyOtherKeepsItsBytes) {
  GameDir dir;
  GameDir elsewhere("");
  dir.Folder("rankings");
  dir.Write("rankings/x.ini", "\"KEEP\"\r\n");
  dir.Folder("words");
  dir.Write("words/w.ini", "OWL\n");
  dir.Folder("replays");
  dir.Write("replays/best-20260101-000000-5.script", "start 1\n");
  const std::string shipped = fs::path(RAPIKO_BINARY).parent_path().string() + "/words/english.ini";
  const std::string shippedBytes = testing_support::ReadFileBytes(shipped);
  ASSERT_FALSE(shippedBytes.empty());
  for (const std::string& kept : {dir.File("rankings/x.ini"), dir.File("words/w.ini"),
                                  dir.File("replays/best-20260101-000000-5.script"), shipped}) {
    const std::string before = testing_support::ReadFileBytes(kept);
    for (const std::string& link : {dir.File("link"), elsewhere.File("link")}) {
      fs::create_hard_link(kept, link);
      const auto r = RunScript(dir, "tick 16\n", {"--record", link});
      EXPECT_EQ(r.exitCode, 2) << link << " of " << kept;
      EXPECT_EQ(r.err.rfind("rapiko: --record " + link + " is a file the game keeps", 0), 0u)
          << r.err;
      EXPECT_EQ(testing_support::ReadFileBytes(kept), before) << kept;
      fs::remove(link);
    }
    // The file itself, by the path the game found it at.
    const auto r = RunScript(dir, "tick 16\n", {"--record", kept});
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_EQ(testing_support::ReadFileBytes(kept), before) << kept;
  }
  // A file of the player's own: the recording takes the name given, the other name keeps it.
  elsewhere.Write("mine", "mine\n");
  fs::create_hard_link(elsewhere.File("mine"), elsewhere.File("other"));
  const auto r = RunScript(dir, "tick 16\n", {"--record", elsewhere.File("other")});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(elsewhere.Read("mine"), "mine\n");
  EXPECT_NE(elsewhere.Read("other").find("tick 16"), std::string::npos);
}

}  // namespace
