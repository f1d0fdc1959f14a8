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

namespace {

// The word key of each character, and the character of each word key, once:
// the history's keys are named on every line.
struct WordKeyTables {
  std::array<int16_t, 256> codeOf{};
  std::array<char, state::kKeyCodes> charOf{};
};

const WordKeyTables& Tables() {
  static const WordKeyTables tables = [] {
    WordKeyTables t;
    for (const std::string& row : KeyboardRows()) {
      for (const char c : row) {
        const int16_t code = typing::WordCharCode(c);
        t.codeOf[static_cast<unsigned char>(c)] = code;
        t.charOf[static_cast<std::size_t>(code)] = c;
      }
    }
    return t;
  }();
  return tables;
}

}  // namespace

const std::array<int16_t, 256>& WordKeyCodes() { return Tables().codeOf; }

bool IsWordKey(int32_t keyCode) {
  return keyCode > 0 && keyCode < state::kKeyCodes &&
         Tables().charOf[static_cast<std::size_t>(keyCode)] != '\0';
}

std::string KeyName(int32_t keyCode) {
  if (IsWordKey(keyCode)) return std::string(1, Tables().charOf[static_cast<std::size_t>(keyCode)]);
  return "#" + std::to_string(keyCode);
}

std::optional<int16_t> KeyCodeOfName(std::string_view name) {
  if (name.size() == 1) {
    const int16_t code = Tables().codeOf[static_cast<unsigned char>(name[0])];
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
