// The history file: each case of history_lines.txt read alone, key names and the key map in the
// player's layout, the file's special cases (the rounds' lines after a round, --stats and the
// statistics screen are golden games: tests/golden/history_*, stats_*).
#include "stats/history_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "media/text.h"
#include "stats/key_map.h"
#include "stats/keys.h"
#include "support/case_file.h"
#include "support/script_run.h"

namespace {

using testing_support::GameDir;

TEST(HistoryFile, EachCaseReadsAsARoundOrAsADamagedLine) {
  const auto rows = testing_support::CaseRows("stats/history_lines.txt");
  EXPECT_GT(rows.size(), 60u);
  for (const std::vector<std::string>& f : rows) {  // kind, line, written back
    const bool first = f[0].starts_with("first "), round = f[0].ends_with("round");
    GameDir dir("");
    dir.Write(stats::kHistoryFileName,
              std::string(first ? stats::kFirstHistoryHeader : stats::kHistoryHeader) + "\n" +
                  f[1] + "\n");
    const stats::HistoryRead history = stats::ReadHistory(dir.Path() + "/", 1);
    EXPECT_EQ(std::pair(history.rounds, history.damagedLines),
              std::pair(round ? 1 : 0, round ? 0 : 1))
        << f[1];
    if (f.size() > 2 && history.tail.size() == 1) {
      EXPECT_EQ(stats::FormatRoundLine(history.tail[0]), f[2]);
    }
  }
}

// Each code from 1 to 255 has one name, which reads back as the code; the 37 word keys are
// named by their character, the US rows of word characters.
TEST(Keys, EveryCodesNameReadsBackAsTheCode) {
  int words = 0;
  for (int32_t code = 1; code < 256; ++code) {
    const std::string name = stats::KeyName(code);
    EXPECT_EQ(name.size() == 1, stats::IsWordKey(code)) << name;
    EXPECT_EQ(stats::KeyCodeOfName(name), code) << name;
    words += stats::IsWordKey(code) ? 1 : 0;
  }
  EXPECT_EQ(words, 37);
  EXPECT_EQ(stats::KeyboardRows(),
            (std::array<std::string, 4>{"1234567890-", "QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"}));
  EXPECT_EQ(stats::WordKeyCodes()['Q'], 16);
  EXPECT_EQ(stats::WordKeyCodes()['q'], 0);
  EXPECT_FALSE(stats::IsWordKey(0) || stats::IsWordKey(256));
  for (const char* other : {"", "#", "#0", "#256", "#-1", "#1x", "#+1", "#30", "a", "AB", "15"})
    EXPECT_EQ(stats::KeyCodeOfName(other), std::nullopt) << other;
}

// The append takes the folder's lock: where that cannot be had, nothing is written.
TEST(History, NothingWithoutTheFolderLock) {
  GameDir dir;
  std::filesystem::create_directory(dir.File("rapikosc.ini.lock"));
  EXPECT_THROW(stats::AppendRounds(dir.Path() + "/", {state::RoundRecord{}}), stats::HistoryError);
  EXPECT_FALSE(dir.Exists(stats::kHistoryFileName));
}

// The history is read whole, whatever its size: the round just played is the last, past the
// 64 MiB that were once the limit.
TEST(History, TheNewestRoundOfAHugeHistoryIsTheLast) {
  GameDir dir;
  const std::string old = "2025-02-01,09:30:00,100,4,6,41,44,4,6,12,20.5,91.7,Q:2:2:1,,0\n";
  std::string bytes = std::string(stats::kHistoryHeader) + "\n";
  while (bytes.size() < (std::size_t{70} << 20)) bytes += old;
  dir.Write(stats::kHistoryFileName, bytes);
  ASSERT_EQ(testing_support::RunScript(dir, "press 57\ntick 16\ntick 1000 122\n").exitCode, 0);
  const auto r = testing_support::RunBinary({"--stats", "--dir", dir.Path() + "/"});
  EXPECT_NE(r.out.find("Last round:      0 points"), std::string::npos) << r.out.substr(0, 400);
}

// What a key of a layout types, as a capital: rows from codes 2, 16, 30 and 43, and the ISO key.
struct Layout {
  std::u32string rows[4];
  char32_t iso = 0;
  char32_t Typed(int32_t code) const {
    const auto cap = [](char32_t c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; };
    if (code == 86) return cap(iso);
    const int32_t firsts[] = {2, 16, 30, 43};
    for (int r = 0; r < 4; ++r) {
      const int32_t at = code - firsts[r];
      if (at >= 0 && at < static_cast<int32_t>(rows[r].size())) return cap(rows[r][size_t(at)]);
    }
    return 0;
  }
};

// The statistics' key map in the player's layout (key_map_layouts.txt): each word key drawn where
// the key typing it is.
TEST(KeyMap, EachWordKeyWhereTheLayoutTypesIt) {
  const auto rows = testing_support::CaseRows("stats/key_map_layouts.txt");
  EXPECT_EQ(rows.size(), 7u);
  for (const std::vector<std::string>& f : rows) {  // name, four rows, the ISO key, places
    ASSERT_EQ(f.size(), 7u) << f[0];
    Layout layout;
    for (int r = 0; r < 4; ++r) layout.rows[r] = media::DecodeGameText(f[size_t(r) + 1]);
    layout.iso = media::DecodeGameText(f[5])[0];
    const std::vector<stats::MapKey> keys =
        stats::LayOutKeyMap([&layout](int32_t code) { return layout.Typed(code); });
    std::map<char, std::string> places;  // each word character once
    for (const stats::MapKey& k : keys) {
      EXPECT_EQ(k.code, *stats::KeyCodeOfName(std::string(1, k.name))) << f[0] << " " << k.name;
      EXPECT_TRUE(
          places.emplace(k.name, std::to_string(k.row) + "/" + std::to_string(k.column)).second)
          << f[0] << ": " << k.name << " twice";
    }
    EXPECT_EQ(places.size(), 37u) << f[0];
    std::istringstream expected(f[6]);
    for (std::string place; expected >> place;)
      EXPECT_EQ(places.count(place[0]) ? place.substr(0, 2) + places[place[0]] : "none", place)
          << f[0];
  }
}

}  // namespace
