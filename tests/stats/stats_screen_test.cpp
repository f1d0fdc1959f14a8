// The statistics screen in every language: each text inside the screen, none over another, with
// the widest figures a history holds; the lists' key (the pictures are golden games:
// tests/golden/stats_*).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "media/messages.h"
#include "stats/history_file.h"
#include "support/script_run.h"

namespace {

using testing_support::GameDir;
using testing_support::RunScript;

struct Text {
  int32_t x, y, width;
  std::string text;
};

// The texts drawn by the frame line.
std::vector<Text> Texts(const nlohmann::json& frame) {
  std::vector<Text> texts;
  for (const auto& op : frame["ops"]) {
    if (op["op"] != "text") continue;
    const std::string text = op["text"];
    texts.push_back({op["x"], op["y"], media::TextWidth(text), text});
  }
  return texts;
}

bool Holds(const std::vector<Text>& texts, const std::string& part) {
  return std::any_of(texts.begin(), texts.end(),
                     [&](const Text& t) { return t.text.find(part) != std::string::npos; });
}

// Rounds with the widest figures: six-digit scores, three-digit levels,
// four-digit counts, a long list's name with practice; and damaged lines.
std::string WideHistory() {
  std::string bytes = std::string(stats::kHistoryHeader) + "\n";
  for (int i = 0; i < 25; ++i) {
    state::RoundRecord r;
    r.date = "2025-05-01";
    r.time = "10:00:00";
    r.score = 999999 - i;
    r.level = 214;
    r.maxLevel = 214;
    r.counts = {.destroyed = 9999, .locks = 9999, .wrongKeys = 9999, .lost = 9999, .shots = 9999};
    for (int code : {16, 30, 44, 2, 12}) r.counts.keys[code] = {9999, 9999, 9999};
    // The best round of the long list, the last of the game folder's.
    r.list = i % 2 == 0 && i < 24 ? "a-word-list-with-a-really-long-name-that-goes-on-and-on-and-on"
                                  : "";
    r.practice = i % 3 == 0;
    bytes += stats::FormatRoundLine(r) + "\n";
  }
  return bytes + "damaged\n" + "damaged too\n";
}

// Tab opens the screen (drawn from the next frame), L shows every list.
constexpr const char* kScript = "press 15\ntick 16\ntick 16\nframe\npress 38\ntick 16\nframe\n";

TEST(StatsScreen, EveryTextFitsInEveryLanguage) {
  GameDir dir;
  dir.Write(stats::kHistoryFileName, WideHistory());
  dir.Write("a-word-list-with-a-really-long-name-that-goes-on-and-on-and-on.ini", "CAT\n");
  for (const char* lang : {"en", "ja", "fr", "de"}) {
    const auto r =
        RunScript(dir, kScript,
                  {"--lang", lang, "--words",
                   dir.File("a-word-list-with-a-really-long-name-that-goes-on-and-on-and-on.ini")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(r.lines.size(), 2u) << lang;
    for (const nlohmann::json& frame : r.lines) {
      std::vector<Text> texts = Texts(frame);
      ASSERT_GT(texts.size(), 60u) << lang;
      std::sort(texts.begin(), texts.end(), [](const Text& a, const Text& b) {
        return std::tie(a.y, a.x) < std::tie(b.y, b.x);
      });
      for (std::size_t i = 0; i < texts.size(); ++i) {
        const Text& t = texts[i];
        EXPECT_GE(t.x, 12) << lang << ": " << t.text;
        EXPECT_LE(t.x + t.width, 628) << lang << ": " << t.text;
        if (i > 0 && texts[i - 1].y == t.y) {
          EXPECT_LE(texts[i - 1].x + texts[i - 1].width, t.x - 4)
              << lang << ": " << texts[i - 1].text << " | " << t.text;
        }
      }
    }
    // The list in play, cut to fit; then every list, each round marked with its own.
    const std::vector<Text> one = Texts(r.lines[0]), all = Texts(r.lines[1]);
    EXPECT_TRUE(Holds(one, "a-word-list-with-a-really") && Holds(one, "...")) << lang;
    EXPECT_FALSE(Holds(one, "rapdata.ini")) << lang;
    EXPECT_TRUE(Holds(all, "rapdata.ini") && Holds(all, "a-word-")) << lang;
  }
}

// Whether text is whole UTF-8: each lead byte followed by all its continuation bytes.
bool IsWholeUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t n = lead < 0x80    ? 1
                          : lead >= 0xF0 ? 4
                          : lead >= 0xE0 ? 3
                          : lead >= 0xC0 ? 2
                                         : 0;
    if (n == 0 || i + n > text.size()) return false;
    for (std::size_t k = 1; k < n; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += n;
  }
  return true;
}

// A list's name too long for the header is cut between characters, however
// many bytes each takes, and marked with "...".
TEST(StatsScreen, ALongListNameIsCutBetweenCharacters) {
  GameDir dir;
  for (const std::string unit : {"\xC3\xA9", "\xE6\x97\xA5", "\xF0\x9F\x98\x80", "a\xC3\xA9"}) {
    std::string name;
    while (name.size() < 200) name += unit;
    dir.Write(name + ".ini", "CAT\n");
    const auto r =
        RunScript(dir, "press 15\ntick 16\ntick 16\nframe\n", {"--words", dir.File(name + ".ini")});
    ASSERT_EQ(r.lines.size(), 1u) << r.err;
    const std::string full = "Statistics: " + name;
    std::vector<Text> header;
    for (const Text& t : Texts(r.lines[0])) {
      if (t.text.rfind("Statistics: ", 0) == 0) header.push_back(t);
    }
    ASSERT_EQ(header.size(), 1u) << unit;
    const std::string& shown = header[0].text;
    ASSERT_TRUE(shown.ends_with("...")) << shown;
    const std::string kept = shown.substr(0, shown.size() - 3);
    EXPECT_TRUE(IsWholeUtf8(kept)) << shown;
    EXPECT_EQ(full.rfind(kept, 0), 0u) << shown;
    EXPECT_GT(kept.size(), 20u) << shown;
  }
}

// Each key takes the shade of the legend line its miss rate falls in, from
// each line's lower bound on.
TEST(StatsScreen, EachKeyIsShadedByTheLegendLineOfItsMissRate) {
  state::RoundRecord r;
  r.date = "2025-05-01";
  r.time = "10:00:00";
  r.counts.keys[19] = {1, 0, 0};     // R: no miss
  r.counts.keys[20] = {9999, 1, 0};  // T: one in ten thousand
  r.counts.keys[16] = {9, 1, 0};     // Q: 10%
  r.counts.keys[17] = {3, 0, 1};     // W: 25%
  r.counts.keys[18] = {1, 1, 0};     // E: 50%
  GameDir dir;
  dir.Write(stats::kHistoryFileName,
            std::string(stats::kHistoryHeader) + "\n" + stats::FormatRoundLine(r) + "\n");
  const auto run = RunScript(dir, "press 15\ntick 16\ntick 16\nframe\n");
  ASSERT_EQ(run.lines.size(), 1u) << run.err;
  const nlohmann::json& ops = run.lines[0]["ops"];
  const std::vector<std::string> legend = {"not typed",  "no miss",    "under 10%",
                                           "10% to 25%", "25% to 50%", "50% or more"};
  std::vector<int64_t> shades(legend.size(), -1);
  std::map<std::string, int64_t> keys;  // each key's fill
  for (std::size_t i = 2; i < ops.size(); ++i) {
    if (ops[i]["op"] != "text") continue;
    const std::string text = ops[i]["text"];
    const auto line = std::find(legend.begin(), legend.end(), text);
    if (line != legend.end())
      shades[static_cast<std::size_t>(line - legend.begin())] = ops[i - 1]["fill"];
    if (text.size() == 1 && ops[i - 2]["op"] == "box") keys[text] = ops[i - 2]["fill"];
  }
  const std::pair<const char*, std::size_t> expected[] = {{"U", 0}, {"R", 1}, {"T", 2},
                                                          {"Q", 3}, {"W", 4}, {"E", 5}};
  for (const auto& [key, line] : expected) {
    ASSERT_TRUE(keys.count(key)) << key;
    EXPECT_EQ(keys[key], shades[line]) << key << " should be " << legend[line];
  }
}

}  // namespace
