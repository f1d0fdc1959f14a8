// The main keys of a US keyboard: what each set-1 key code types without Shift.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace media {

// A row of consecutive set-1 key codes and the characters they type.
struct KeyRow {
  int32_t first;
  std::string_view chars;
};

// The unshifted characters of a US keyboard, each row from its first set-1
// code: the one table the game's key codes are read against.
constexpr std::array<KeyRow, 4> kUsRows = {
    {{2, "1234567890-="}, {16, "qwertyuiop[]"}, {30, "asdfghjkl;'`"}, {43, "\\zxcvbnm,./"}}};

// The set-1 code of the key that types c on a US keyboard without Shift
// (letters in either case), or 0 when no key does.
int32_t Set1FromUsCharacter(char32_t c);

// What the main key of that code types without Shift, or '\0' for none.
char UsCharacterOfSet1(int32_t code);

// A character as a key's cap shows it: a letter as its capital.
constexpr char32_t KeyCap(char32_t c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

}  // namespace media
