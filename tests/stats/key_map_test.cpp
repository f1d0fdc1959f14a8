// The statistics' key map in the player's layout: each word key drawn where the key typing it is.
#include "stats/key_map.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "stats/keys.h"

namespace {

// A layout as what its rows type without Shift, each row from its first
// set-1 code (as SDL reports them: the digit row types digits on AZERTY),
// and what the extra ISO key (86) types.
struct Layout {
  const char* name;
  std::u32string rows[4];  // from codes 2, 16, 30 and 43
  char32_t iso;
};

char32_t Typed(const Layout& l, int32_t code) {
  if (code == 86) return l.iso >= 'a' && l.iso <= 'z' ? l.iso - 'a' + 'A' : l.iso;
  const int32_t firsts[] = {2, 16, 30, 43};
  for (int r = 0; r < 4; ++r) {
    const int32_t at = code - firsts[r];
    if (at >= 0 && at < static_cast<int32_t>(l.rows[r].size())) {
      const char32_t c = l.rows[r][static_cast<std::size_t>(at)];
      return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
    }
  }
  return 0;
}

// Each word character once, with its place as "row/column".
std::map<char, std::string> Places(const Layout& l) {
  std::map<char, std::string> places;
  for (const stats::MapKey& k : stats::LayOutKeyMap([&l](int32_t c) { return Typed(l, c); })) {
    EXPECT_EQ(k.code, *stats::KeyCodeOfName(std::string(1, k.name))) << l.name << " " << k.name;
    EXPECT_TRUE(
        places.emplace(k.name, std::to_string(k.row) + "/" + std::to_string(k.column)).second)
        << l.name << ": " << k.name << " twice";
  }
  return places;
}

TEST(KeyMap, EachWordKeyWhereTheLayoutTypesIt) {
  const Layout us{"us", {U"1234567890-=", U"qwertyuiop[]", U"asdfghjkl;'`", U"\\zxcvbnm,./"}, U'<'};
  const struct {
    Layout layout;
    std::map<char, std::string> expected;  // some of the places
  } cases[] = {
      {us, {{'1', "0/0"}, {'-', "0/10"}, {'Q', "1/0"}, {'P', "1/9"}, {'A', "2/0"}, {'M', "3/6"}}},
      {{"fr", {U"1234567890)=", U"azertyuiop^$", U"qsdfghjklm\u00F9\u00B2", U"*wxcvbn,;:!"}, U'<'},
       // The - of AZERTY is the 6 key's own sign, which SDL reports as 6:
       // it takes its US place, where AZERTY has ).
       {{'A', "1/0"},
        {'Z', "1/1"},
        {'Q', "2/0"},
        {'M', "2/9"},
        {'W', "3/0"},
        {'N', "3/5"},
        {'-', "0/10"}}},
      {{"de",
        {U"1234567890\u00DF\u00B4", U"qwertzuiop\u00FC+", U"asdfghjkl\u00F6\u00E4^",
         U"#yxcvbnm,.-"},
        U'<'},
       {{'Z', "1/5"}, {'Y', "3/0"}, {'-', "3/9"}, {'L', "2/8"}}},
      {{"dvorak", {U"1234567890[]", U"',.pyfgcrl/=", U"aoeuidhtns-`", U"\\;qjkxbmwvz"}, U'<'},
       {{'P', "1/3"}, {'A', "2/0"}, {'S', "2/9"}, {'-', "2/10"}, {'Q', "3/1"}, {'Z', "3/9"}}},
      // No Latin letter on any key: the US places.
      {{"ru",
        {U"1234567890-=",
         U"\u0439\u0446\u0443\u043A\u0435\u043D\u0433\u0448\u0449\u0437\u0445\u044A",
         U"\u0444\u044B\u0432\u0430\u043F\u0440\u043E\u043B\u0434\u0436\u044D\u0451",
         U"\\\u044F\u0447\u0441\u043C\u0438\u0442\u044C\u0431\u044E."},
        U'/'},
       {{'Q', "1/0"}, {'A', "2/0"}, {'Z', "3/0"}, {'M', "3/6"}, {'-', "0/10"}}},
      // A word key on the extra ISO key; - typed by no key finds its US place
      // taken by A, and goes right.
      {{"odd", {U"1234567890a=", U"qwertyuiop[]", U"\u00DFsdfghjkl;'`", U"\\zxcvbnm,./"}, U'x'},
       {{'A', "0/10"}, {'-', "0/11"}, {'X', "3/-1"}, {'S', "2/1"}}},
      // Letters typed only by keys that are no places (Backspace, Enter, the
      // key left of 1, the one beside Enter, Right Shift) take their US places.
      {{"beyond",
        {U"1234567890-=r", U"\u00E0\u00E8\u00E9\u00EC\u00F2yuiop[]t", U"asdfghjkl;'w",
         U"ezxcvbnm,./q"},
        U'<'},
       {{'Q', "1/0"}, {'W', "1/1"}, {'E', "1/2"}, {'R', "1/3"}, {'T', "1/4"}, {'Z', "3/0"}}},
  };
  for (const auto& c : cases) {
    const std::map<char, std::string> places = Places(c.layout);
    EXPECT_EQ(places.size(), 37u) << c.layout.name;
    for (const auto& [name, place] : c.expected) {
      EXPECT_EQ(places.count(name) ? places.at(name) : "none", place)
          << c.layout.name << ": " << name;
    }
  }
}

// A US keyboard gives the US rows, left to right from each row's start, in
// the order the map has always been drawn in.
TEST(KeyMap, AUsKeyboardGivesTheUsRowsInOrder) {
  const Layout us{"us", {U"1234567890-=", U"qwertyuiop[]", U"asdfghjkl;'`", U"\\zxcvbnm,./"}, U'<'};
  std::vector<stats::MapKey> expected;
  for (int32_t row = 0; row < 4; ++row) {
    const std::string& chars = stats::KeyboardRows()[static_cast<std::size_t>(row)];
    for (std::size_t i = 0; i < chars.size(); ++i) {
      expected.push_back({row, static_cast<int32_t>(i), chars[i],
                          *stats::KeyCodeOfName(std::string(1, chars[i]))});
    }
  }
  EXPECT_EQ(stats::LayOutKeyMap([&us](int32_t c) { return Typed(us, c); }), expected);
}

}  // namespace
