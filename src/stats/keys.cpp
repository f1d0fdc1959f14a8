// Names of keys in the history and on the statistics screen.
#include "stats/keys.h"

#include <charconv>

#include "media/us_keyboard.h"
#include "state/progress.h"
#include "typing/key_tables.h"

namespace stats {

const std::array<std::string, 4>& KeyboardRows() {
  static const std::array<std::string, 4> rows = [] {
    std::array<std::string, 4> made;
    for (std::size_t r = 0; r < made.size(); ++r) {
      for (const char c : media::kUsRows[r].chars) {
        const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        if (typing::WordCharCode(upper) != 0) made[r] += upper;
      }
    }
    return made;
  }();
  return rows;
}

bool IsWordKey(int32_t keyCode) { return KeyName(keyCode).size() == 1; }

std::string KeyName(int32_t keyCode) {
  for (const std::string& row : KeyboardRows()) {
    for (char c : row) {
      if (typing::WordCharCode(c) == keyCode) return std::string(1, c);
    }
  }
  return "#" + std::to_string(keyCode);
}

std::optional<int16_t> KeyCodeOfName(std::string_view name) {
  if (name.size() == 1) {
    const int16_t code = typing::WordCharCode(name[0]);
    if (code == 0) return std::nullopt;
    return code;
  }
  if (name.size() < 2 || name[0] != '#') return std::nullopt;
  int32_t code = 0;
  const char* end = name.data() + name.size();
  const auto [ptr, ec] = std::from_chars(name.data() + 1, end, code);
  if (ec != std::errc{} || ptr != end || code <= 0 || code >= state::kKeyCodes) {
    return std::nullopt;
  }
  // A word key is always written by its character.
  if (IsWordKey(code)) return std::nullopt;
  return static_cast<int16_t>(code);
}

}  // namespace stats
