// The main keys of a US keyboard: what each set-1 key code types without Shift.
#include "media/us_keyboard.h"

namespace media {

int32_t Set1FromUsCharacter(char32_t c) {
  if (c >= 'A' && c <= 'Z') c = c - 'A' + 'a';
  if (c == 0 || c >= 0x80) return 0;
  for (const KeyRow& row : kUsRows) {
    const size_t at = row.chars.find(static_cast<char>(c));
    if (at != std::string_view::npos) return row.first + static_cast<int32_t>(at);
  }
  return 0;
}

char UsCharacterOfSet1(int32_t code) {
  for (const KeyRow& row : kUsRows) {
    if (code >= row.first && code - row.first < static_cast<int32_t>(row.chars.size())) {
      return row.chars[static_cast<size_t>(code - row.first)];
    }
  }
  return '\0';
}

}  // namespace media
