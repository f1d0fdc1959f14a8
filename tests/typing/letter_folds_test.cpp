// Accented letters in word files: the fold table's pairs (its cases and the folding of an item:
// cases/folds.txt, read by tests/media/readers_test.cpp), and a folded file read exactly as its
// plain twin (the files themselves and the line that reports them: tests/golden/words_folded*).
#include "media/letter_folds.h"

#include <gtest/gtest.h>

#include "media/text.h"
#include "state/game_state.h"
#include "typing/word_data.h"

namespace {

using media::FoldedLetter;

// The capital and the small form of a letter fold alike, to capitals: a slip in one row of the
// table breaks a pair.
TEST(LetterFolds, CapitalAndSmallLettersFoldAlike) {
  const auto same = [](char32_t capital, char32_t small) {
    EXPECT_EQ(FoldedLetter(capital), FoldedLetter(small)) << std::hex << uint32_t(capital);
    EXPECT_FALSE(FoldedLetter(capital).empty()) << std::hex << uint32_t(capital);
  };
  for (char32_t c = 0xC0; c <= 0xDE; ++c)
    if (c != 0xD7 && c != 0xDE) same(c, c + 0x20);  // × and ÷, Þ and þ fold to nothing
  // Latin Extended-A runs in pairs, the capital first, with two shifts.
  for (const auto& [first, end] :
       {std::pair{0x100, 0x138}, {0x139, 0x149}, {0x14A, 0x178}, {0x179, 0x17F}})
    for (char32_t c = first; c < char32_t(end); c += 2) same(c, c + 1);
  same(U'Ÿ', U'ÿ');
  same(0x1E9E, U'ß');
  for (char32_t c = 0xC0; c < 0x180; ++c)
    for (const char letter : FoldedLetter(c)) EXPECT_TRUE(letter >= 'A' && letter <= 'Z');
}

// What a reading gives: the word tables and how the report counts.
auto Tables(const std::string& file) {
  auto g = std::make_unique<state::GameState>();
  const typing::WordReport r = typing::LoadWordDataFromBytes(*g, file);
  std::vector<std::tuple<int, int>> drops;
  for (const auto& d : r.firstDropped) drops.emplace_back(static_cast<int>(d.problem), d.line);
  const auto stopped = r.stopped ? std::tuple(static_cast<int>(r.stopped->problem), r.stopped->line)
                                 : std::tuple(-1, 0);
  return std::tuple(g->words, g->wordStart, g->letterKeys, g->wordCount, g->letterCount, r.words,
                    r.dropped, drops, stopped);
}

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// Folded letters take the places in the letter table, the word count and the item's length
// that their plain letters take when typed in the file; an item's length counts folded
// letters, not the bytes they were written in.
TEST(LetterFolds, AFoldedFileReadsAsItsPlainTwin) {
  const std::string fill995 = Repeat("ABCDE\n", 199);
  const std::pair<std::string, std::string> cases[] = {
      {"café,ÆON\r\nStraße\n\"NAÏVE\"", "CAFE,AEON\r\nSTRASSE\n\"NAIVE\""},
      {"ÆS\nÉé\nßo", "AES\nEE\nSSO"},  // two letters of one: long enough, too short
      {"café!\nÞOR\nδέλτα\nçà", "CAFE!\nÞOR\nδέλτα\nCA"},  // dropped all the same
      {fill995 + "ßßßß\nEND", fill995 + "SSSSSSSS\nEND"},  // ß cut at the last letter
      {Repeat(Repeat("Æ", 50) + "\n", 10) + "MORE", Repeat(Repeat("AE", 50) + "\n", 10) + "MORE"},
      {Repeat("ÇÀT\n", 100) + "DOG", Repeat("CAT\n", 100) + "DOG"},
      {Repeat("ß", 16384) + "\nCAT", Repeat("SS", 16384) + "\nCAT"},  // too long
      {Repeat("é", 32767) + "\nCAT", Repeat("E", 32767) + "\nCAT"},   // long, not too long
  };
  for (const auto& [accented, plain] : cases)
    EXPECT_EQ(Tables(accented), Tables(plain)) << plain.substr(0, 20);
}

}  // namespace
