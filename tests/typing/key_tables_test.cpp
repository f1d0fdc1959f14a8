// Tests of the key code tables: characters, glyph cells and word character codes.
#include "typing/key_tables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "core/game_state.h"

namespace {

const std::string kWordChars = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-";

class KeyTablesTest : public ::testing::Test {
 protected:
  void SetUp() override { typing::BuildKeyTables(g); }
  core::GameState g;
};

TEST_F(KeyTablesTest, EveryWordCharacterRoundTripsThroughBothTables) {
  std::set<std::pair<int, int>> cells;
  for (const char c : kWordChars) {
    SCOPED_TRACE(std::string(1, c));
    const int16_t code = typing::WordCharCode(c);
    ASSERT_GT(code, 0);
    ASSERT_LE(code, 72);  // inside keyGlyphs
    EXPECT_EQ(g.keyChars[code], std::string(1, c));
    const core::KeyGlyph cell = g.keyGlyphs[code];
    // Cells lie on the 49 x 37 grid of the 348 x 262 sheet.
    EXPECT_EQ(cell.x % 49, 0);
    EXPECT_EQ(cell.y % 37, 0);
    EXPECT_LE(cell.x + 49, 348);
    EXPECT_LE(cell.y + 37, 262);
    cells.insert({cell.x, cell.y});
  }
  EXPECT_EQ(cells.size(), kWordChars.size()) << "two characters share a glyph cell";
}

TEST_F(KeyTablesTest, KnownCodesAndCells) {
  EXPECT_EQ(typing::WordCharCode('A'), 30);
  EXPECT_EQ(typing::WordCharCode('Q'), 16);
  EXPECT_EQ(typing::WordCharCode('M'), 50);
  EXPECT_EQ(typing::WordCharCode('1'), 2);
  EXPECT_EQ(typing::WordCharCode('0'), 11);
  EXPECT_EQ(typing::WordCharCode('-'), 12);
  EXPECT_EQ(g.keyChars[12], "-");
  EXPECT_EQ(g.keyGlyphs[12].x, 196);
  EXPECT_EQ(g.keyGlyphs[12].y, 74);
  EXPECT_EQ(g.keyGlyphs[30].x, 0);  // A
  EXPECT_EQ(g.keyGlyphs[30].y, 0);
  EXPECT_EQ(g.keyGlyphs[45].x, 147);  // X
  EXPECT_EQ(g.keyGlyphs[45].y, 185);
  EXPECT_EQ(g.keyGlyphs[2].x, 196);  // 1
  EXPECT_EQ(g.keyGlyphs[2].y, 148);
  EXPECT_EQ(g.keyGlyphs[11].x, 294);  // 0
  EXPECT_EQ(g.keyGlyphs[11].y, 37);
}

TEST_F(KeyTablesTest, OnlyUpperCaseWordCharactersHaveCodes) {
  for (const char c : std::string("az'._ \t,=;\"\0", 12)) {
    EXPECT_EQ(typing::WordCharCode(c), 0) << static_cast<int>(c);
  }
  EXPECT_EQ(typing::WordCharCode(static_cast<char>(0xE9)), 0);  // accented letter
}

TEST_F(KeyTablesTest, MainKeysTypeUnshiftedUsCharacters) {
  std::string row;
  for (int code = 2; code <= 13; ++code) row += g.keyChars[code];
  EXPECT_EQ(row, "1234567890-=");
  row.clear();
  for (int code = 16; code <= 27; ++code) row += g.keyChars[code];
  EXPECT_EQ(row, "QWERTYUIOP[]");
  row.clear();
  for (int code = 30; code <= 41; ++code) row += g.keyChars[code];
  EXPECT_EQ(row, "ASDFGHJKL;'`");
  row.clear();
  for (int code = 44; code <= 52; ++code) row += g.keyChars[code];
  EXPECT_EQ(row, "ZXCVBNM,.");
}

TEST_F(KeyTablesTest, NumberPadTypesDigitsAndSigns) {
  std::string pad;
  for (int code = 71; code <= 83; ++code) {
    ASSERT_EQ(g.keyChars[code].size(), 1u) << code;
    pad += g.keyChars[code];
  }
  EXPECT_EQ(pad, "789-456+1230.");
  // No glyph cell reaches the number pad: its digits never match a letter.
  for (const char c : kWordChars) EXPECT_LT(typing::WordCharCode(c), 71);
}

TEST_F(KeyTablesTest, KeysThatTypeNothing) {
  // Esc, Backspace, Tab, Enter, Ctrl, Shifts, backslash, slash, pad star,
  // Alt, Space, Caps Lock, F1..F10, Num/Scroll Lock, and everything from 84.
  std::set<int> silent = {0, 1, 14, 15, 28, 29, 42, 43, 53, 54, 55, 56, 57};
  for (int code = 58; code <= 70; ++code) silent.insert(code);
  for (int code = 84; code <= 255; ++code) silent.insert(code);  // arrows, F11, F12, ...
  for (const int code : silent) EXPECT_EQ(g.keyChars[code], "") << code;
  int typing = 0;
  for (const std::string& s : g.keyChars) typing += s.empty() ? 0 : 1;
  EXPECT_EQ(typing, 12 + 12 + 12 + 9 + 13);
}

TEST_F(KeyTablesTest, KeysWithoutACellPointAtTheCornerOfTheSheet) {
  int withCell = 0;
  for (const core::KeyGlyph& cell : g.keyGlyphs) withCell += (cell.x != 0 || cell.y != 0) ? 1 : 0;
  EXPECT_EQ(withCell, 36);  // the 37 word characters, A being the cell at (0, 0)
  EXPECT_EQ(g.keyGlyphs[57].x, 0);
  EXPECT_EQ(g.keyGlyphs[72].y, 0);
}

}  // namespace
