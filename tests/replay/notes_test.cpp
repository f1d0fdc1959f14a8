// A recording's notes read back: standard Base64, noted files, practice keys, the round a replay
// starts at.
#include "replay/notes.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "replay/base64.h"

namespace {

// The standard alphabet and padding, so that kept recordings stay readable by any Base64 tool.
TEST(Base64, TheStandardFormBothWays) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
      {"\xFF\xEF\xBE", "/+++"},
      {std::string("\0\0", 2), "AAA="},
  };
  for (const auto& [bytes, text] : cases) {
    EXPECT_EQ(replay::Base64(bytes), text) << text;
    EXPECT_EQ(replay::FromBase64(text), bytes) << text;
  }
  EXPECT_EQ(replay::FromBase64("Zm9v\r"), "foo");
  EXPECT_EQ(replay::FromBase64("Zm9v Zm9v"), "foo");  // stops at the first stranger
}

// Only plain names come back, each continued by the lines of its own name; lines may end in
// CR LF. Practice keys and the round to watch come from the first note of each.
TEST(Notes, FilesPracticeKeysAndTheRoundToWatch) {
  const std::string text =
      "# file a.ini Zm9v\r\n"
      "# file+ a.ini YmFy\r\n"
      "# file+ b.ini YmFy\n"  // continues no file of its name
      "# file .hidden Zm9v\n"
      "# file ../up Zm9v\n"
      "# file noblank\n"
      "#  file c.ini Zm9v\n"
      "tick 16\n"
      "# file b.ini \n"
      "# file+ b.ini Zg==\n";
  EXPECT_EQ(replay::NotedFiles(text), (std::vector<std::pair<std::string, std::string>>{
                                          {"a.ini", "foobar"}, {"b.ini", "f"}}));
  EXPECT_EQ(replay::NotedPracticeKeys("# practiced 1\n# practice Q #15 ? 1\n# practice A\n"),
            (std::vector<int16_t>{16, 15, 2}));
  EXPECT_EQ(replay::NotedPracticeKeys("# practice\n"), std::vector<int16_t>{});
  EXPECT_EQ(replay::NotedPracticeKeys("start 1\ntick 16\n"), std::nullopt);
  const std::pair<std::string, int> rounds[] = {
      {"start 1\n", 0},
      {"# replay from round 1\n", 0},
      {"# replay from round 2\n", 1},
      {"tick 16\n# replay from round 10\r\n", 9},
      {"# replay from round 0\n", 0},
      {"# replay from round 3\n# replay from round 5\n", 2},
      {"#replay from round 3\n", 0},
  };
  for (const auto& [notes, skip] : rounds) EXPECT_EQ(replay::RoundsToSkip(notes), skip) << notes;
}

}  // namespace
