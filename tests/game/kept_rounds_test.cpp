// The kept best rounds as the options screen lists them: names read, dates shown, lists noted.
#include "game/kept_rounds.h"

#include <gtest/gtest.h>

#include <filesystem>

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

}  // namespace
}  // namespace game
