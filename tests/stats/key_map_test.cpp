// The statistics' key map in the player's layout (key_map_layouts.txt): each word key drawn where
// the key typing it is.
#include "stats/key_map.h"

#include <gtest/gtest.h>

#include "media/text.h"
#include "stats/keys.h"
#include "support/case_file.h"

namespace {

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
