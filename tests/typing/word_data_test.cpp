// Tests of the word data reader: item syntax, dropped items, capacity limits and damaged files.
#include "typing/word_data.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "state/game_state.h"
#include "typing/key_tables.h"

namespace {

using namespace std::string_literals;
using Codes = std::vector<int16_t>;
using Texts = std::vector<std::string>;

state::GameState Load(const std::string& bytes) {
  state::GameState g;
  typing::LoadWordDataFromBytes(g, bytes);
  return g;
}

// Checks that the tables hold exactly these words, back to back, as key codes.
void ExpectWords(const state::GameState& g, const Texts& words) {
  ASSERT_EQ(Texts(g.words.begin() + 1, g.words.begin() + 1 + g.wordCount), words);
  Codes codes;
  for (size_t w = 0; w < words.size(); ++w) {
    EXPECT_EQ(g.wordStart[w + 1], static_cast<int>(codes.size())) << words[w];
    for (char c : words[w]) codes.push_back(typing::WordCharCode(c));
  }
  EXPECT_EQ(Codes(g.letterKeys.begin(), g.letterKeys.begin() + g.letterCount), codes);
  EXPECT_EQ(g.wordStart[words.size() + 1], g.letterCount);  // where the last word ends
}

// count lines of length letters each.
std::string WordList(int count, int length) {
  std::string line = std::string(length, 'A') + "\n", out;
  for (int i = 0; i < count; ++i) out += line;
  return out;
}

TEST(WordData, CatDogEmu) {
  const state::GameState g = Load("cat,Dog\r\nEMU\r\n");
  ExpectWords(g, {"CAT", "DOG", "EMU"});
  EXPECT_EQ(Codes(g.letterKeys.begin(), g.letterKeys.begin() + 9),
            (Codes{46, 30, 20, 32, 24, 34, 18, 50, 22}));
  EXPECT_EQ(std::tuple(g.wordStart[1], g.wordStart[2], g.wordStart[3], g.letterCount),
            std::tuple(0, 3, 6, 9));
}

TEST(WordData, ItemSyntaxAndDroppedItems) {
  const std::vector<std::pair<std::string, Texts>> cases = {
      {"ab\r\n\r\n,,x,\nfox\r  \r\ngo,owl", {"FOX", "OWL"}},  // short and empty items
      {"NEW YORK\r\n", {}},
      {"NEW,YORK", {"NEW", "YORK"}},
      {"cat\nit's\ndots.\ncaf\xE9\nsnake_case\nemu", {"CAT", "EMU"}},  // dropped whole
      {"X-1,2024", {"X-1", "2024"}},  // digits and the hyphen are letters
      {"\"a,b,c\"\r\nowl", {"OWL"}},  // a quoted comma drops the item
      {"\"cat\" junk,dog\r\n\"emu\"yak",
       {"CAT", "DOG", "EMU"}},                                // after the closing quote: ignored
      {"\t cat \t, \tdog \r\nemu\t", {"CAT", "DOG", "EMU"}},  // tabs and blanks trimmed
      {"c at,ca\"t,owl", {"OWL"}},  // a blank or a quote inside an unquoted item drops it
  };
  for (const auto& [bytes, words] : cases) {
    SCOPED_TRACE(bytes);
    ExpectWords(Load(bytes), words);
  }
}

TEST(WordData, CapacityLimits) {
  std::string hundredFifty;
  for (int i = 1000; i < 1150; ++i) hundredFifty += "w" + std::to_string(i) + "\n";
  state::GameState g = Load(hundredFifty);
  EXPECT_EQ(std::tuple(g.wordCount, g.words[100], g.letterCount), std::tuple(100, "W1099", 500));
  g = Load(WordList(50, 20) + "cat");  // 1000 positions in use: no further item
  EXPECT_EQ(std::tuple(g.wordCount, g.letterCount), std::tuple(50, 1000));
  g = Load(WordList(45, 22) + "ZZZZZ\nabcdefgh\nowl");  // 995 in use, then eight letters
  EXPECT_EQ(std::tuple(g.wordCount, g.words[47], g.wordStart[47], g.letterCount),
            std::tuple(47, "ABCDEFGH", 995, 1001));
  EXPECT_EQ(Codes(g.letterKeys.begin() + 995, g.letterKeys.end()), (Codes{30, 48, 46, 32, 18, 33}));
  EXPECT_EQ(g.wordStart[48], 1001);
}

TEST(WordData, AnItemLongerThan32767CharactersEndsTheReading) {
  ExpectWords(Load("cat\n" + std::string(32768, 'a') + "\ndog"), {"CAT"});
  EXPECT_EQ(Load("cat\n" + std::string(32767, 'a') + "\ndog").wordCount, 2);  // cut at 1001
}

TEST(WordData, JunkBytesNeverBreakTheTables) {
  std::set<int16_t> wordCodes;
  for (char c : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-"))
    wordCodes.insert(typing::WordCharCode(c));
  uint32_t state = 12345;
  const auto next = [&state] { return (state = state * 1664525u + 1013904223u) >> 24; };
  const std::string steering = "\"\r\n, \tcatDOG-1";  // bytes that steer the reader
  for (int round = 0; round < 2000; ++round) {
    std::string bytes;
    for (uint32_t i = 0, n = next() * 8; i < n; ++i) {
      const uint32_t r = next();
      bytes += r < 160 ? steering[r % steering.size()] : static_cast<char>(next());
    }
    const state::GameState g = Load(bytes);
    ASSERT_TRUE(g.wordCount >= 0 && g.wordCount <= 100 && g.letterCount <= 1001) << round;
    ASSERT_EQ(g.wordStart[g.wordCount + 1], g.letterCount) << round;
    for (int w = 1; w <= g.wordCount; ++w) ASSERT_GE(g.wordStart[w + 1] - g.wordStart[w], 3);
    for (int i = 0; i < g.letterCount; ++i) ASSERT_TRUE(wordCodes.count(g.letterKeys[i])) << round;
  }
}

TEST(WordData, ReadsTheFileAndAMissingFileGivesNoWords) {
  std::string dir = (std::filesystem::temp_directory_path() / "rapiko-words-XXXXXX").string();
  ASSERT_NE(mkdtemp(dir.data()), nullptr);
  const std::string path = dir + "/list.ini";
  std::ofstream(path, std::ios::binary) << "cat,Dog\r\nEMU\r\n";
  state::GameState g;
  EXPECT_EQ(typing::DescribeWordReport(typing::LoadWordData(g, path), path), "");
  ExpectWords(g, {"CAT", "DOG", "EMU"});
  std::filesystem::remove_all(dir);
  state::GameState none;
  EXPECT_EQ(
      typing::DescribeWordReport(typing::LoadWordData(none, path), path),
      path + ": no words loaded, nothing will fall; cannot open it: No such file or directory");
  EXPECT_EQ(std::tuple(none.wordCount, none.letterCount), std::tuple(0, 0));
}

// UTF-16 of ASCII and Latin-1 text, with its byte-order mark.
std::string Utf16(const std::string& latin1, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char c : latin1) {
    const char units[2] = {0, c};
    out += bigEndian ? std::string(units, 2) : std::string{c, 0};
  }
  return out;
}

// The line the game would print for these bytes as the file "w.ini".
std::string Said(const std::string& bytes) {
  state::GameState g;
  return typing::DescribeWordReport(typing::LoadWordDataFromBytes(g, bytes), "w.ini");
}

TEST(WordData, EditorsEncodingsReadLikeTheirUtf8Twin) {
  const std::string twin = "cat,Dog\r\ncaf\xC3\xA9\r\nEMU";
  const std::string latin1 = "cat,Dog\r\ncaf\xE9\r\nEMU";
  ASSERT_EQ(Said(twin),
            "w.ini: 1 item dropped (line 2 \"caf\xC3\xA9\": only A-Z, 0-9 and - are allowed)");
  for (const std::string& bytes :
       {"\xEF\xBB\xBF" + twin, Utf16(latin1, false), Utf16(latin1, true)}) {
    SCOPED_TRACE(bytes);
    ExpectWords(Load(bytes), {"CAT", "DOG", "EMU"});
    EXPECT_EQ(Said(bytes), Said(twin));
  }
}

TEST(WordData, TheLineThatSaysWhatWasLeftOut) {
  const std::string bad = "only A-Z, 0-9 and - are allowed";
  const std::string none = "w.ini: no words loaded, nothing will fall; ";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"cat\ndog\n\n,,\n", ""},
      {"", none + "the file is empty"},
      {"\xEF\xBB\xBF", none + "the file is empty"},
      {" \r\n,\t,\n", none + "the file holds no items"},
      // Line ends of every kind, and a quoted item across two lines.
      {"cat\r\nab\r\"new\nyork\"\r\nno!\nx",
       "w.ini: 4 items dropped (line 2 \"ab\": fewer than 3 "
       "characters; line 3 \"new?york\": " +
           bad + "; line 5 \"no!\": " + bad + "; ...)"},
      {"it's,\t\x01\x02\x03,\"" + std::string(30, 'q') + "!\"",
       none + "3 items dropped (line 1 \"it's\": " + bad + "; line 1 \"???\": " + bad +
           "; line 1 \"qqqqqqqqqqqqqqqqqqqq...\": " + bad + ")"},
      // UTF-16: a surrogate pair, then an unpaired surrogate and an odd last byte.
      {"\xFF\xFE"
       "x\0\x3D\xD8\x00\xDE"
       "y\0,\0"
       "a\0\x00\xDC"
       "b\0"
       "c"s,
       none + "2 items dropped (line 1 \"x\xF0\x9F\x98\x80y\": " + bad +
           "; line 1 \"a\xEF\xBF\xBD"
           "b"
           "\xEF\xBF\xBD\": " +
           bad + ")"},
      {WordList(150, 3), "w.ini: reading stopped at line 101: the 100-word limit"},
      {WordList(100, 3) + "\r\n ,\n", ""},
      {WordList(50, 20) + "\n\ncat", "w.ini: reading stopped at line 53: the 1001-letter limit"},
      {WordList(45, 22) + "ZZZZZ\nab\nabcdefgh\nowl",
       "w.ini: 1 item dropped (line 47 \"ab\": fewer "
       "than 3 characters); reading stopped at line 48 \"abcdefgh\": cut at the 1001-letter limit"},
      {"cat\n" + std::string(32768, 'a'),
       "w.ini: reading stopped at line 2: an item longer than 32767 characters"},
  };
  for (const auto& [bytes, line] : cases) {
    SCOPED_TRACE(bytes.substr(0, 80));
    EXPECT_EQ(Said(bytes), line);
  }
}

}  // namespace
