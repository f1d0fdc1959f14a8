// Accented letters in word files: the fold table, the folding of an item, and a folded file
// read exactly as its plain twin (the files themselves: tests/golden/words_folded*).
#include "typing/letter_folds.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "state/game_state.h"
#include "typing/word_data.h"

namespace {

using typing::FoldAccents;
using typing::FoldedLetter;

TEST(LetterFolds, TheTableAtItsEdgesAndOutsideIt) {
  const struct {
    char32_t c;
    std::string_view plain;
  } cases[] = {
      {U'A', ""},     {0xBF, ""},  // ¿, just before the table
      {U'À', "A"},    {U'Æ', "AE"}, {U'Ç', "C"},  {U'É', "E"},  {U'Ð', "D"}, {U'×', ""},
      {U'Ø', "O"},    {U'Ü', "U"},  {U'Þ', ""},   {U'ß', "SS"}, {U'à', "A"}, {U'ç', "C"},
      {U'ï', "I"},    {U'÷', ""},   {U'þ', ""},   {U'ÿ', "Y"},  {U'Ā', "A"}, {U'ı', "I"},
      {U'Ĳ', "IJ"},   {U'Ł', "L"},  {U'Œ', "OE"}, {U'œ', "OE"}, {U'Ÿ', "Y"}, {U'ž', "Z"},
      {U'ſ', "S"},    {0x180, ""},                              // ƀ, just after the table
      {0x1E9E, "SS"},                                           // ẞ
      {0x1E9F, ""},   {U'α', ""},   {U'Я', ""},   {0x301, ""},  // a combining accent alone
  };
  for (const auto& c : cases)
    EXPECT_EQ(FoldedLetter(c.c), c.plain) << std::hex << static_cast<uint32_t>(c.c);
}

// The capital and the small form of a letter fold alike: a slip in one row of
// the table breaks a pair.
TEST(LetterFolds, CapitalAndSmallLettersFoldAlike) {
  const auto same = [](char32_t capital, char32_t small) {
    EXPECT_EQ(FoldedLetter(capital), FoldedLetter(small))
        << std::hex << static_cast<uint32_t>(capital);
    EXPECT_FALSE(FoldedLetter(capital).empty()) << std::hex << static_cast<uint32_t>(capital);
  };
  for (char32_t c = 0xC0; c <= 0xDE; ++c)
    if (c != 0xD7 && c != 0xDE) same(c, c + 0x20);  // × and ÷, Þ and þ fold to nothing
  // Latin Extended-A runs in pairs, the capital first, with two shifts.
  for (char32_t c = 0x100; c < 0x138; c += 2) same(c, c + 1);
  for (char32_t c = 0x139; c < 0x149; c += 2) same(c, c + 1);
  for (char32_t c = 0x14A; c < 0x178; c += 2) same(c, c + 1);
  for (char32_t c = 0x179; c < 0x17F; c += 2) same(c, c + 1);
  same(U'Ÿ', U'ÿ');
  same(0x1E9E, U'ß');
  for (char32_t c = 0xC0; c < 0x180; ++c)
    for (const char letter : FoldedLetter(c)) EXPECT_TRUE(letter >= 'A' && letter <= 'Z');
}

TEST(LetterFolds, OnlyWholeValidSequencesFold) {
  const struct {
    std::string in, out;
    bool folded;
  } cases[] = {
      {"CAFÉ", "CAFE", true},
      {"Straße", "StraSSe", true},
      {"STRAẞE", "STRASSE", true},
      {"ŒUVRE", "OEUVRE", true},
      {"naïve", "naIve", true},  // plain letters in capitals, as words are stored
      {"E\xCC\x81TE\xCC\x81\xCC\x88", "ETE", true},  // combining accents after letters
      {"Az\xCC\x8C", "Az", true},                    // the last letters of the alphabet
      {"aZ\xCC\x8C", "aZ", true},
      {"[\xCC\x8C", "[\xCC\x8C", false},  // the signs beside them are no letters
      {"{\xCC\x8C", "{\xCC\x8C", false},
      {"@\xCC\x8C", "@\xCC\x8C", false},
      {"`\xCC\x8C", "`\xCC\x8C", false},
      {"plain", "plain", false},
      {"\xCC\x81"
       "ABC",
       "\xCC\x81"
       "ABC",
       false},                            // an accent on nothing stays
      {"1\xCC\x81", "1\xCC\x81", false},  // nor on a digit
      {"caf\xE9", "caf\xE9", false},      // Latin-1: not valid text
      {"caf\xC3", "caf\xC3", false},      // a sequence cut short
      {"\xC3\xC3\xA9",
       "\xC3"
       "E",
       true},  // a broken lead, then é
      {"\xE2\xC3\xA9",
       "\xE2"
       "E",
       true},
      {"\xE1\xBA", "\xE1\xBA", false},  // ẞ cut short
      {"\xC1\x81", "\xC1\x81", false},  // overlong
      {"αβγ", "αβγ", false},
      {"x😀É", "x😀E", true},
  };
  for (const auto& c : cases) {
    bool folded = !c.folded;
    EXPECT_EQ(FoldAccents(c.in, folded), c.out) << c.in;
    EXPECT_EQ(folded, c.folded) << c.in;
  }
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

// Folded letters take the places in the letter table, the word count and the
// item's length that their plain letters take when typed in the file.
TEST(LetterFolds, AFoldedFileReadsAsItsPlainTwin) {
  const std::string fill995 = Repeat("ABCDE\n", 199);
  const struct {
    std::string what, accented, plain;
  } cases[] = {
      {"words", "café,ÆON\r\nStraße\n\"NAÏVE\"", "CAFE,AEON\r\nSTRASSE\n\"NAIVE\""},
      {"two letters of one", "ÆS\nÉé\nßo", "AES\nEE\nSSO"},  // long enough, too short
      {"dropped all the same", "café!\nÞOR\nδέλτα\nçà", "CAFE!\nÞOR\nδέλτα\nCA"},
      {"ß cut at the last letter", fill995 + "ßßßß\nEND", fill995 + "SSSSSSSS\nEND"},
      {"the letter table full", Repeat(Repeat("Æ", 50) + "\n", 10) + "MORE",
       Repeat(Repeat("AE", 50) + "\n", 10) + "MORE"},
      {"100 words", Repeat("ÇÀT\n", 100) + "DOG", Repeat("CAT\n", 100) + "DOG"},
      // An item's length counts folded letters, not the bytes they were written in.
      {"too long", Repeat("ß", 16384) + "\nCAT", Repeat("SS", 16384) + "\nCAT"},
      {"long but not too long", Repeat("é", 32767) + "\nCAT", Repeat("E", 32767) + "\nCAT"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Tables(c.accented), Tables(c.plain));
  }
}

TEST(LetterFolds, TheReportCountsTheWordsFoldedAndNamesTheFirst) {
  const struct {
    std::string file, line;
  } cases[] = {
      {"cat\ncafé\n", "f: 1 word with accented letters folded (line 2 \"café\" as \"CAFE\")"},
      {"ÆON,Straße\nnaïve\nœuvre\n",
       "f: 4 words with accented letters folded (line 1 \"ÆON\" as \"AEON\"; line 1 \"Straße\" "
       "as \"STRASSE\"; line 2 \"naïve\" as \"NAIVE\"; ...)"},
      {"café\nno!\n" + Repeat("é", 25),
       "f: 2 words with accented letters folded (line 1 \"café\" as \"CAFE\"; line 3 \"" +
           Repeat("é", 20) + "...\" as \"" + Repeat("E", 20) +
           "...\"); 1 item dropped (line 2 \"no!\": only A-Z, 0-9 and - are allowed)"},
      // An item dropped for another character is not a folded word.
      {"café!\n",
       "f: no words loaded, nothing will fall; 1 item dropped (line 1 \"café!\": only "
       "A-Z, 0-9 and - are allowed)"},
      {"\xEF\xBB\xBF"
       "CAT\n",
       ""},
  };
  for (const auto& c : cases) {
    state::GameState g;
    EXPECT_EQ(typing::DescribeWordReport(typing::LoadWordDataFromBytes(g, c.file), "f"), c.line);
  }
}

}  // namespace
