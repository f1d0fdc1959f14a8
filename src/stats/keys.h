// The keys the statistics name and the keyboard map shows: the 37 keys words are typed with.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace stats {

// The keyboard map's rows, top first, as the characters their keys type:
// the word keys of the US rows ("1234567890-", "QWERTYUIOP", "ASDFGHJKL",
// "ZXCVBNM").
const std::array<std::string, 4>& KeyboardRows();

// Whether the key types a character that words may hold.
bool IsWordKey(int32_t keyCode);

// The character a word key types ("A", "7", "-"); "#" and the code for any
// other key ("#15" for Tab).
std::string KeyName(int32_t keyCode);

// The word key of every character: 0 for a character no word key types.
const std::array<int16_t, 256>& WordKeyCodes();

// The key code of a name made by KeyName, or nothing.
std::optional<int16_t> KeyCodeOfName(std::string_view name);

}  // namespace stats
