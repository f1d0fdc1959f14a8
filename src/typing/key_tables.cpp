// The key code tables: what each key types, and where each word character's glyph sits.
#include "typing/key_tables.h"

#include <cstddef>
#include <string_view>

#include "media/us_keyboard.h"

namespace typing {
namespace {

// The main keys the game gives a character, as runs of set-1 codes: the US
// rows from 1 to =, Q to ], A to ` and Z to the full stop. Each types its US
// character, letters in upper case.
struct CodeRun {
  int first;
  int last;
};
constexpr CodeRun kMainRuns[] = {{2, 13}, {16, 27}, {30, 41}, {44, 52}};

// The number pad, from 7 (code 71) to its full stop (83).
constexpr int kPadFirst = 71;
constexpr std::string_view kPadChars = "789-456+1230.";

// The 37 characters that words may hold, and their glyph cells.
struct WordChar {
  char c;
  int16_t x;
  int16_t y;
};

constexpr WordChar kWordChars[] = {
    {'A', 0, 0},    {'B', 0, 37},    {'C', 0, 74},    {'D', 0, 111},   {'E', 0, 148},
    {'F', 0, 185},  {'G', 49, 0},    {'H', 49, 37},   {'I', 49, 74},   {'J', 49, 111},
    {'K', 49, 148}, {'L', 49, 185},  {'M', 98, 0},    {'N', 98, 37},   {'O', 98, 74},
    {'P', 98, 111}, {'Q', 98, 148},  {'R', 98, 185},  {'S', 147, 0},   {'T', 147, 37},
    {'U', 147, 74}, {'V', 147, 111}, {'W', 147, 148}, {'X', 147, 185}, {'Y', 196, 0},
    {'Z', 196, 37}, {'-', 196, 74},  {'1', 196, 148}, {'2', 196, 185}, {'3', 245, 0},
    {'4', 245, 37}, {'5', 245, 74},  {'6', 245, 111}, {'7', 245, 148}, {'8', 245, 185},
    {'9', 294, 0},  {'0', 294, 37},
};

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

void BuildKeyTables(state::GameState& g) {
  for (std::string& s : g.keyChars) s.clear();
  for (const CodeRun& run : kMainRuns) {
    for (int code = run.first; code <= run.last; ++code) {
      g.keyChars[static_cast<std::size_t>(code)] =
          std::string(1, Upper(media::UsCharacterOfSet1(code)));
    }
  }
  for (std::size_t i = 0; i < kPadChars.size(); ++i) {
    g.keyChars[kPadFirst + i] = std::string(1, kPadChars[i]);
  }
  for (state::KeyGlyph& cell : g.keyGlyphs) cell = {};
  for (const WordChar& w : kWordChars) {
    g.keyGlyphs[static_cast<std::size_t>(WordCharCode(w.c))] = {w.x, w.y};
  }
}

int16_t WordCharCode(char c) {
  for (const WordChar& w : kWordChars) {
    if (w.c == c) return static_cast<int16_t>(media::Set1FromUsCharacter(static_cast<char32_t>(c)));
  }
  return 0;
}

}  // namespace typing
