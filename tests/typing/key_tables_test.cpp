// Tests of the key code tables: the text and the glyph cell of every key code.
#include "typing/key_tables.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>

#include "state/game_state.h"

namespace {

TEST(KeyTables, EveryKeyCodeTypesItsCharacterAndWordCharactersRoundTrip) {
  state::GameState g;
  typing::BuildKeyTables(g);
  // Unshifted US keys by first code (the last row is the number pad); all others type nothing.
  std::array<std::string, 256> expected;
  for (auto [first, chars] : {std::pair{2, "1234567890-="},
                              {16, "QWERTYUIOP[]"},
                              {30, "ASDFGHJKL;'`"},
                              {44, "ZXCVBNM,."},
                              {71, "789-456+1230."}}) {
    for (int k = 0; chars[k]; ++k) expected[first + k] = std::string(1, chars[k]);
  }
  for (int code = 0; code < 256; ++code) EXPECT_EQ(g.keyChars[code], expected[code]) << code;

  // The glyph sheet holds the cells column by column, six to a column, one cell left blank.
  const std::string sheet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ- 1234567890";
  int withCell = 0;
  for (const state::KeyGlyph& cell : g.keyGlyphs) withCell += (cell.x != 0 || cell.y != 0);
  EXPECT_EQ(withCell, 36);  // every other code shows the cell of A at (0, 0)
  for (int p = 0; p < static_cast<int>(sheet.size()); ++p) {
    if (sheet[p] == ' ') continue;
    const int16_t code = typing::WordCharCode(sheet[p]);
    ASSERT_TRUE(code > 0 && code < 71) << sheet[p];  // no number-pad code: pad digits never match
    EXPECT_EQ(g.keyChars[code], std::string(1, sheet[p]));
    EXPECT_EQ(std::tuple(g.keyGlyphs[code].x, g.keyGlyphs[code].y),
              std::tuple(49 * (p / 6), 37 * (p % 6)))
        << sheet[p];
  }
}

}  // namespace
