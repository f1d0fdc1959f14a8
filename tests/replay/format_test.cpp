// The format line of recordings: this version and older ones play, newer ones are refused.
#include "replay/format.h"

#include <gtest/gtest.h>

namespace {

TEST(RecordingFormat, OlderVersionsAndPlainScriptsPlayANewerOneIsRefusedInOneLine) {
  EXPECT_EQ(replay::RecordingFormatLine(), "# rapiko recording 1");
  const std::pair<std::string_view, std::string_view> cases[] = {
      // first line, the start of the problem ("" when it plays)
      {"# rapiko recording 1", ""},
      {"# rapiko recording 1\r", ""},
      {"# rapiko recording 0", ""},
      {"# rapiko recording 01", ""},
      {"# file rapdata.ini QUFBDQo=", ""},  // version 0, without the line
      {"start 5000", ""},
      {"# rapiko recordings 2", ""},  // another comment
      {"# rapiko recording 2", "recording format 2 is newer than this game's (1)"},
      {"# rapiko recording 0002", "recording format 2 is newer"},
      {"# rapiko recording 99999999999999999999", "recording format 99999999999999999999 is newer"},
      {"# rapiko recording", "'# rapiko recording' is not a format line"},
      {"# rapiko recording 1.5", "'# rapiko recording 1.5' is not a format line"},
      {"# rapiko recording  1", "'# rapiko recording  1' is not a format line"},
  };
  for (const auto& [line, problem] : cases) {
    const auto got = replay::RecordingFormatProblem(line);
    if (problem.empty()) {
      EXPECT_FALSE(got) << line << ": " << *got;
    } else {
      ASSERT_TRUE(got) << line;
      EXPECT_EQ(got->rfind(problem, 0), 0u) << *got;
      EXPECT_EQ(got->find('\n'), std::string::npos);
    }
  }
}

}  // namespace
