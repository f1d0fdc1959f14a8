// The statistics screen's header: a list's name too long for it is cut between characters (the
// screens themselves are golden games: tests/golden/stats_screen*).
#include <gtest/gtest.h>

#include "support/script_run.h"

namespace {

// However many bytes each character takes, the name is cut after a whole one and marked "...".
TEST(StatsScreen, ALongListNameIsCutBetweenCharacters) {
  testing_support::GameDir dir;
  for (const std::string unit : {"\xC3\xA9", "\xE6\x97\xA5", "\xF0\x9F\x98\x80", "a\xC3\xA9"}) {
    std::string name;
    while (name.size() < 200) name += unit;
    dir.Write(name + ".ini", "CAT\n");
    const auto r = testing_support::RunScript(dir, "press 15\ntick 16\ntick 16\nframe\n",
                                              {"--words", dir.File(name + ".ini")});
    ASSERT_EQ(r.lines.size(), 1u) << r.err;
    std::string shown;
    for (const auto& op : r.lines[0]["ops"]) {
      if (op["op"] == "text" && op["text"].get<std::string>().starts_with("Statistics: "))
        shown = op["text"];
    }
    ASSERT_TRUE(shown.ends_with("...")) << shown;
    const std::string full = "Statistics: " + name, kept = shown.substr(0, shown.size() - 3);
    EXPECT_GT(kept.size(), 20u) << shown;
    EXPECT_EQ(full.rfind(kept, 0), 0u) << shown;
    EXPECT_NE(static_cast<unsigned char>(full[kept.size()]) & 0xC0, 0x80) << shown;  // no half
  }
}

}  // namespace
