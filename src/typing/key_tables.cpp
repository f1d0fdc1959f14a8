// The key code tables: what each key types, and where each word character's glyph sits.
#include "typing/key_tables.h"

#include <cstddef>

namespace typing {
namespace {

// A run of consecutive key codes and the characters they type, one each.
struct KeyRun {
  int first;
  const char* chars;
};

// Unshifted keys of a US keyboard, letters in upper case.
// clang-format off
constexpr KeyRun kKeyRuns[] = {
    {2, "1234567890-="},
    {16, "QWERTYUIOP[]"},
    {30, "ASDFGHJKL;'`"},
    {44, "ZXCVBNM,."},
    {71, "789-456+1230."},  // number pad
};
// clang-format on

// The 37 characters that words may hold, their key codes and glyph cells.
struct WordChar {
  char c;
  int16_t code;
  int16_t x;
  int16_t y;
};

constexpr WordChar kWordChars[] = {
    {'A', 30, 0, 0},    {'B', 48, 0, 37},    {'C', 46, 0, 74},    {'D', 32, 0, 111},
    {'E', 18, 0, 148},  {'F', 33, 0, 185},   {'G', 34, 49, 0},    {'H', 35, 49, 37},
    {'I', 23, 49, 74},  {'J', 36, 49, 111},  {'K', 37, 49, 148},  {'L', 38, 49, 185},
    {'M', 50, 98, 0},   {'N', 49, 98, 37},   {'O', 24, 98, 74},   {'P', 25, 98, 111},
    {'Q', 16, 98, 148}, {'R', 19, 98, 185},  {'S', 31, 147, 0},   {'T', 20, 147, 37},
    {'U', 22, 147, 74}, {'V', 47, 147, 111}, {'W', 17, 147, 148}, {'X', 45, 147, 185},
    {'Y', 21, 196, 0},  {'Z', 44, 196, 37},  {'-', 12, 196, 74},  {'1', 2, 196, 148},
    {'2', 3, 196, 185}, {'3', 4, 245, 0},    {'4', 5, 245, 37},   {'5', 6, 245, 74},
    {'6', 7, 245, 111}, {'7', 8, 245, 148},  {'8', 9, 245, 185},  {'9', 10, 294, 0},
    {'0', 11, 294, 37},
};

}  // namespace

void BuildKeyTables(state::GameState& g) {
  for (std::string& s : g.keyChars) s.clear();
  for (const KeyRun& run : kKeyRuns) {
    for (std::size_t i = 0; run.chars[i] != '\0'; ++i) {
      g.keyChars[static_cast<std::size_t>(run.first) + i] = std::string(1, run.chars[i]);
    }
  }
  for (state::KeyGlyph& cell : g.keyGlyphs) cell = {};
  for (const WordChar& w : kWordChars) {
    g.keyGlyphs[static_cast<std::size_t>(w.code)] = {w.x, w.y};
  }
}

int16_t WordCharCode(char c) {
  for (const WordChar& w : kWordChars) {
    if (w.c == c) return w.code;
  }
  return 0;
}

}  // namespace typing
