// Tests of the word data reader: item syntax, dropped items, capacity limits and damaged files.
#include "typing/word_data.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "typing/key_tables.h"

namespace {

using namespace std::string_literals;
using Codes = std::vector<int16_t>;
using Texts = std::vector<std::string>;

core::GameState Load(const std::string& bytes) {
  core::GameState g;
  typing::LoadWordDataFromBytes(g, bytes);
  return g;
}

Codes Letters(const core::GameState& g) {
  return {g.letterKeys.begin(), g.letterKeys.begin() + g.letterCount};
}

Texts Words(const core::GameState& g) {
  return {g.words.begin() + 1, g.words.begin() + 1 + g.wordCount};
}

// count good words of length letters each, one per line.
std::string WordList(int count, int length) {
  std::string out;
  for (int i = 0; i < count; ++i)
    out += std::string(static_cast<size_t>(length), static_cast<char>('A' + i % 26)) + "\r\n";
  return out;
}

bool IsWordCode(int16_t code) {
  for (const char c : "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-"s) {
    if (typing::WordCharCode(c) == code) return true;
  }
  return false;
}

// What every reading must keep, whatever the bytes.
void ExpectSane(const core::GameState& g) {
  ASSERT_GE(g.wordCount, 0);
  ASSERT_LE(g.wordCount, 100);
  ASSERT_GE(g.letterCount, 0);
  ASSERT_LE(g.letterCount, 1001);
  EXPECT_EQ(g.wordStart[g.wordCount + 1], g.letterCount);
  for (int w = 1; w <= g.wordCount; ++w) {
    EXPECT_GE(g.words[w].size(), 3u);
    EXPECT_LE(g.wordStart[w], g.wordStart[w + 1] - 2) << "word " << w;
  }
  for (int i = 0; i < g.letterCount; ++i)
    EXPECT_TRUE(IsWordCode(g.letterKeys[i])) << "position " << i;
}

TEST(WordDataTest, CommaAndLineSeparatedWordsInUpperCase) {
  const core::GameState g = Load("cat,Dog\r\nEMU\r\n");
  EXPECT_EQ(Words(g), (Texts{"CAT", "DOG", "EMU"}));
  EXPECT_EQ(Letters(g), (Codes{46, 30, 20, 32, 24, 34, 18, 50, 22}));
  EXPECT_EQ(g.wordStart[1], 0);
  EXPECT_EQ(g.wordStart[2], 3);
  EXPECT_EQ(g.wordStart[3], 6);
  EXPECT_EQ(g.wordStart[4], 9);  // where the last word ends
  EXPECT_EQ(g.letterCount, 9);
}

TEST(WordDataTest, AnyLineEndAndNoneAtTheEnd) {
  for (const std::string bytes :
       {"cat,Dog\nEMU\n", "cat,Dog\rEMU\r", "cat,Dog\r\nEMU", "cat\r\n\ndog\r\r\nemu"}) {
    const core::GameState g = Load(bytes);
    EXPECT_EQ(Words(g), (Texts{"CAT", "DOG", "EMU"})) << bytes;
    EXPECT_EQ(g.letterCount, 9);
  }
}

TEST(WordDataTest, ShortAndEmptyItemsLeaveNoTrace) {
  const core::GameState g = Load("ab\r\n\r\n,,x,\r\nfox\r\n  \r\ngo,owl");
  EXPECT_EQ(Words(g), (Texts{"FOX", "OWL"}));
  EXPECT_EQ(g.wordStart[2], 3);
  EXPECT_EQ(g.letterCount, 6);
}

TEST(WordDataTest, ItemWithAForeignCharacterIsDroppedWhole) {
  EXPECT_EQ(Load("NEW YORK\r\n").wordCount, 0);
  EXPECT_EQ(Words(Load("NEW,YORK\r\n")), (Texts{"NEW", "YORK"}));
  // Dropped letters are taken back: the next good word starts where they did.
  const core::GameState g =
      Load("cat\r\nit's\r\ndots.\r\ncaf\xE9\r\nsnake_case\r\nc\0t\r\nemu\r\n"s);
  EXPECT_EQ(Words(g), (Texts{"CAT", "EMU"}));
  EXPECT_EQ(g.wordStart[2], 3);
  EXPECT_EQ(Letters(g), (Codes{46, 30, 20, 18, 50, 22}));
}

TEST(WordDataTest, DigitsAndHyphenAreLetters) {
  const core::GameState g = Load("X-1\r\n2024\r\n");
  EXPECT_EQ(Words(g), (Texts{"X-1", "2024"}));
  EXPECT_EQ(Letters(g), (Codes{45, 12, 2, 3, 11, 3, 5}));
}

TEST(WordDataTest, QuotedItems) {
  // A comma between quotes belongs to the item, which is then dropped for it.
  EXPECT_EQ(Words(Load("\"a,b,c\"\r\nowl\r\n")), (Texts{"OWL"}));
  EXPECT_EQ(Words(Load("\"cat\",\"dog\"\r\n")), (Texts{"CAT", "DOG"}));
  // Text after the closing quote, up to the separator, is ignored.
  EXPECT_EQ(Words(Load("\"cat\" junk!,dog\r\n\"emu\"x\r\nyak")),
            (Texts{"CAT", "DOG", "EMU", "YAK"}));
  // Blanks inside quotes are kept, and drop the item.
  EXPECT_EQ(Words(Load("\" cat\",\"dog \",emu")), (Texts{"EMU"}));
  // A quote left open runs to the next quote, across line ends, or to the end.
  EXPECT_EQ(Words(Load("\"cat\r\ndog\",emu")), (Texts{"EMU"}));
  EXPECT_EQ(Words(Load("emu,\"cat")), (Texts{"EMU", "CAT"}));
  EXPECT_EQ(Words(Load("\"\",\"ab\",yak")), (Texts{"YAK"}));
}

TEST(WordDataTest, BlanksAndTabsAroundUnquotedItems) {
  EXPECT_EQ(Words(Load("\t  cat, \tdog\r\n \t emu")), (Texts{"CAT", "DOG", "EMU"}));
  EXPECT_EQ(Words(Load("cat  \t,dog \r\nemu\t")), (Texts{"CAT", "DOG", "EMU"}));
  EXPECT_EQ(Load("cat  \t,dog \r\nemu\t").letterCount, 9);
  // Blanks inside an item are not trimmed: they drop it.
  EXPECT_EQ(Words(Load("c at,d\tog,owl")), (Texts{"OWL"}));
}

TEST(WordDataTest, QuoteInsideAnUnquotedItemIsAnOrdinaryCharacter) {
  EXPECT_EQ(Words(Load("ca\"t,dog\r\n")), (Texts{"DOG"}));
  EXPECT_EQ(Words(Load("cat\"\r\n\"dog\"")), (Texts{"DOG"}));
}

TEST(WordDataTest, OnlyTheFirstHundredWordsAreRead) {
  std::string bytes;
  for (int i = 1; i <= 150; ++i) bytes += "w" + std::to_string(1000 + i) + "\r\n";
  const core::GameState g = Load(bytes);
  EXPECT_EQ(g.wordCount, 100);
  EXPECT_EQ(g.words[100], "W1100");
  EXPECT_EQ(g.letterCount, 500);
  EXPECT_EQ(g.wordStart[100], 495);
  EXPECT_EQ(g.wordStart[101], 500);  // the entry past the table marks the end
  ExpectSane(g);
}

TEST(WordDataTest, ReadingStopsOnceAThousandPositionsAreUsed) {
  const core::GameState g = Load(WordList(50, 20) + "cat\r\n");
  EXPECT_EQ(g.wordCount, 50);
  EXPECT_EQ(g.letterCount, 1000);
  EXPECT_EQ(g.wordStart[51], 1000);
}

TEST(WordDataTest, WordRunningPastTheLastPositionIsCut) {
  // 45 words of 22 letters and one of 5: 995 positions in use.
  const std::string before = WordList(45, 22) + "ZZZZZ\r\n";
  const core::GameState g = Load(before + "abcdefgh\r\nowl\r\n");
  EXPECT_EQ(g.wordCount, 47);
  EXPECT_EQ(g.letterCount, 1001);
  EXPECT_EQ(g.words[47], "ABCDEFGH");  // the whole text, though only six letters fit
  EXPECT_EQ(g.wordStart[47], 995);
  EXPECT_EQ(g.wordStart[48], 1001);
  EXPECT_EQ(Codes(g.letterKeys.begin() + 995, g.letterKeys.end()), (Codes{30, 48, 46, 32, 18, 33}));
  ExpectSane(g);

  // A foreign character before the cut point drops the item as usual...
  const core::GameState dropped = Load(before + "abcd'efgh\r\nowl\r\n");
  EXPECT_EQ(dropped.wordCount, 47);
  EXPECT_EQ(dropped.words[47], "OWL");
  EXPECT_EQ(dropped.letterCount, 998);
  // ...one after it is never looked at.
  const core::GameState cut = Load(before + "abcdefg'\r\nowl\r\n");
  EXPECT_EQ(cut.wordCount, 47);
  EXPECT_EQ(cut.letterCount, 1001);
}

TEST(WordDataTest, ItemLongerThan32767CharactersEndsTheReading) {
  const core::GameState tooLong = Load("cat\r\n" + std::string(32768, 'a') + "\r\ndog\r\n");
  EXPECT_EQ(Words(tooLong), (Texts{"CAT"}));
  EXPECT_EQ(tooLong.letterCount, 3);
  const core::GameState quoted = Load("cat,\"" + std::string(40000, 'a') + "\",dog");
  EXPECT_EQ(Words(quoted), (Texts{"CAT"}));
  // 32767 is still an item: it is taken and cut at the last position.
  const core::GameState longest = Load("cat\r\n" + std::string(32767, 'a') + "\r\ndog\r\n");
  EXPECT_EQ(longest.wordCount, 2);
  EXPECT_EQ(longest.words[2].size(), 32767u);
  EXPECT_EQ(longest.letterCount, 1001);
  ExpectSane(longest);
}

TEST(WordDataTest, VeryLongLinesOfShortItems) {
  const core::GameState empties = Load(std::string(200000, ',') + "cat");
  EXPECT_EQ(Words(empties), (Texts{"CAT"}));
  std::string many;
  for (int i = 0; i < 20000; ++i) many += "emu,";
  const core::GameState full = Load(many);
  EXPECT_EQ(full.wordCount, 100);
  EXPECT_EQ(full.letterCount, 300);
}

TEST(WordDataTest, BinaryJunkNeverBreaksTheTables) {
  uint32_t state = 12345;
  const auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return state >> 24;
  };
  // Bytes biased toward the characters that steer the reader.
  const std::string steering = "\"\r\n, \tcatDOG-1";
  for (int round = 0; round < 2000; ++round) {
    std::string bytes;
    const uint32_t length = next() * 8;
    for (uint32_t i = 0; i < length; ++i) {
      const uint32_t r = next();
      bytes += r < 160 ? steering[r % steering.size()] : static_cast<char>(next());
    }
    SCOPED_TRACE(round);
    ExpectSane(Load(bytes));
  }
}

TEST(WordDataTest, EndMarkerFollowsAnEmptyReading) {
  core::GameState g;
  g.wordStart[1] = 77;
  typing::LoadWordDataFromBytes(g, "");
  EXPECT_EQ(g.wordCount, 0);
  EXPECT_EQ(g.wordStart[1], 0);
}

class WordFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "rapiko-words-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir = pattern + "/";
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string dir;
};

TEST_F(WordFileTest, ReadsTheFileInTheGameFolder) {
  std::ofstream(dir + "rapdata.ini", std::ios::binary) << "cat,Dog\r\nEMU\r\n";
  core::GameState g;
  typing::LoadWordData(g, dir);
  EXPECT_EQ(Words(g), (Texts{"CAT", "DOG", "EMU"}));
  EXPECT_EQ(g.letterCount, 9);
}

TEST_F(WordFileTest, MissingOrUnreadableFileGivesNoWords) {
  core::GameState g;
  typing::LoadWordData(g, dir);
  EXPECT_EQ(g.wordCount, 0);
  EXPECT_EQ(g.letterCount, 0);
  std::filesystem::create_directory(dir + "rapdata.ini");  // opens, but cannot be read
  typing::LoadWordData(g, dir);
  EXPECT_EQ(g.wordCount, 0);
  EXPECT_EQ(g.letterCount, 0);
}

}  // namespace
