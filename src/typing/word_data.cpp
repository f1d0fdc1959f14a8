// Reading "rapdata.ini" into the word tables: each word's text and its letters as key codes.
#include "typing/word_data.h"

#include <cstddef>
#include <string_view>

#include "media/files.h"
#include "typing/key_tables.h"

namespace typing {
namespace {

using state::kMaxWords;
// The highest position of letterKeys; a word running past it is cut there.
constexpr int kLastLetterPos = state::kMaxLetters - 1;
// No new item is started once this many letter positions are in use.
constexpr int kLetterStop = kLastLetterPos;
constexpr std::size_t kMinWordLength = 3;
// An item's length is a 16-bit count: a longer item ends the reading.
constexpr std::size_t kMaxItemLength = 32767;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Splits the file into items the way sequential text input does: items end
// at a comma or a line end (CR LF, LF or CR); a quoted item ends at the next
// double quote.
class ItemReader {
 public:
  // complete is false when a failed read cut the bytes short: an item that
  // runs into their end is then not trusted.
  ItemReader(std::string_view bytes, bool complete) : bytes_(bytes), complete_(complete) {}

  bool AtEnd() const { return pos_ >= bytes_.size(); }

  // The next item; false when reading must end here (an item too long for
  // its count, or one cut by a failed read).
  bool Next(std::string_view& item) {
    while (pos_ < bytes_.size() && IsBlank(bytes_[pos_])) ++pos_;
    std::size_t start = pos_;
    std::size_t end = pos_;
    bool ranToEnd = false;
    if (pos_ < bytes_.size() && bytes_[pos_] == '"') {
      start = pos_ + 1;
      const std::size_t close = bytes_.find('"', start);
      if (close == std::string_view::npos) {
        end = pos_ = bytes_.size();
        ranToEnd = true;
      } else {
        end = close;
        pos_ = close + 1;
        // Whatever follows the closing quote up to the separator is ignored.
        SkipToSeparator();
        ConsumeSeparator();
      }
    } else {
      SkipToSeparator();
      end = pos_;
      ranToEnd = AtEnd();
      while (end > start && IsBlank(bytes_[end - 1])) --end;
      ConsumeSeparator();
    }
    if (ranToEnd && !complete_) return false;
    if (end - start > kMaxItemLength) return false;
    item = bytes_.substr(start, end - start);
    return true;
  }

 private:
  void SkipToSeparator() {
    while (pos_ < bytes_.size() && bytes_[pos_] != ',' && !IsLineEnd(bytes_[pos_])) ++pos_;
  }

  void ConsumeSeparator() {
    if (AtEnd()) return;
    const char c = bytes_[pos_++];
    if (c == '\r' && pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
  }

  std::string_view bytes_;
  bool complete_;
  std::size_t pos_ = 0;
};

enum class Entry { kDropped, kStored, kCut };

// Enters item as the next word, or drops it for a character outside the
// word table. Letters past the last position cut the word there.
Entry EnterWord(state::GameState& g, std::string_view item) {
  const int16_t first = g.letterCount;
  int pos = first;
  bool cut = false;
  for (const char c : item) {
    if (pos > kLastLetterPos) {
      cut = true;
      break;
    }
    const int16_t code = WordCharCode(AsciiUpper(c));
    if (code == 0) return Entry::kDropped;  // letterCount never moved
    g.letterKeys[static_cast<std::size_t>(pos++)] = code;
  }
  const int n = g.wordCount + 1;
  std::string text(item);
  for (char& c : text) c = AsciiUpper(c);
  g.words[static_cast<std::size_t>(n)] = std::move(text);
  g.wordStart[static_cast<std::size_t>(n)] = first;
  g.letterCount = static_cast<int16_t>(pos);
  g.wordCount = static_cast<int16_t>(n);
  return cut ? Entry::kCut : Entry::kStored;
}

void ReadWords(state::GameState& g, std::string_view bytes, bool complete) {
  // A fresh reading: whatever the tables held before, indices start sane.
  g.wordCount = 0;
  g.letterCount = 0;
  ItemReader reader(bytes, complete);
  while (!reader.AtEnd()) {
    if (g.wordCount >= kMaxWords || g.letterCount >= kLetterStop) break;
    std::string_view item;
    if (!reader.Next(item)) break;
    if (item.size() < kMinWordLength) continue;
    if (EnterWord(g, item) == Entry::kCut) break;
  }
  // Lets the end-of-word test of the last word read inside the table.
  g.wordStart[static_cast<std::size_t>(g.wordCount) + 1] = g.letterCount;
}

}  // namespace

void LoadWordDataFromBytes(state::GameState& g, const std::string& bytes) {
  ReadWords(g, bytes, true);
}

void LoadWordData(state::GameState& g, const std::string& myPath) {
  const media::FileRead file = media::ReadWholeFile(myPath + "rapdata.ini");
  // A missing or unreadable file leaves the tables empty, without a message.
  ReadWords(g, file.bytes, !file.opened || file.complete);
}

}  // namespace typing
