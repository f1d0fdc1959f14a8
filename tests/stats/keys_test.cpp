// The names of keys in the history: every code named and read back, nothing else read as a key.
#include "stats/keys.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Keys, TheWordKeysAreTheUsRowsOfWordCharacters) {
  const std::array<std::string, 4> rows = {"1234567890-", "QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
  EXPECT_EQ(stats::KeyboardRows(), rows);
  int words = 0;
  for (int32_t code = -1; code <= 256; ++code) words += stats::IsWordKey(code) ? 1 : 0;
  EXPECT_EQ(words, 37);
}

// Each code from 1 to 255 has one name, which reads back as the code.
TEST(Keys, EveryCodesNameReadsBackAsTheCode) {
  for (int32_t code = 1; code < 256; ++code) {
    const std::string name = stats::KeyName(code);
    EXPECT_EQ(name.size() == 1, stats::IsWordKey(code)) << name;
    EXPECT_EQ(stats::KeyCodeOfName(name), code) << name;
  }
  const std::pair<int32_t, const char*> named[] = {{30, "A"}, {2, "1"},      {12, "-"}, {15, "#15"},
                                                   {1, "#1"}, {255, "#255"}, {0, "#0"}};
  for (const auto& [code, name] : named) EXPECT_EQ(stats::KeyName(code), name) << code;
  for (const char* other :
       {"", "#", "#0", "#256", "#-1", "#1x", "#+1", "#30", "a", "!", "AB", "15"}) {
    EXPECT_EQ(stats::KeyCodeOfName(other), std::nullopt) << other;
  }
  EXPECT_EQ(stats::WordKeyCodes()['Q'], 16);
  EXPECT_EQ(stats::WordKeyCodes()['q'], 0);
}

}  // namespace
