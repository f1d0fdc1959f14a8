// Reading "rapdata.ini" into the word tables: each word's text and its letters as key codes.
#include "typing/word_data.h"

#include <cstddef>
#include <string_view>

#include "media/letter_folds.h"
#include "media/text.h"
#include "storage/read.h"
#include "typing/key_tables.h"

namespace typing {
namespace {

using state::kMaxWords;
// The highest position of letterKeys; a word running past it is cut there.
constexpr int kLastLetterPos = state::kMaxLetters - 1;
// No new item is started once this many letter positions are in use.
constexpr int kLetterStop = kLastLetterPos;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Splits the file into items the way sequential text input does: items end
// at a comma or a line end (CR LF, LF or CR); a quoted item ends at the next
// double quote.
class ItemReader {
 public:
  enum class Result { kItem, kCutShort };

  // complete is false when a failed read cut the bytes short: an item that
  // runs into their end is then not trusted.
  ItemReader(std::string_view bytes, bool complete) : bytes_(bytes), complete_(complete) {}

  bool AtEnd() const { return pos_ >= bytes_.size(); }
  // The line of the next thing that is not a blank or a separator; 0 when
  // nothing else is left.
  int NextItemLine() {
    const std::size_t at = bytes_.find_first_not_of(" \t\r\n,", pos_);
    return at == npos ? 0 : LineAt(at);
  }

  // The line where the bytes end.
  int LastLine() { return LineAt(bytes_.size()); }

  // The next item and the line it starts on; kItem unless a failed read cut
  // it, which ends the reading.
  Result Next(std::string_view& item, int& line) {
    while (!AtEnd() && IsBlank(bytes_[pos_])) ++pos_;
    line = LineAt(pos_);
    std::size_t start = pos_;
    std::size_t end = pos_;
    bool ranToEnd = false;
    if (!AtEnd() && bytes_[pos_] == '"') {
      start = pos_ + 1;
      const std::size_t close = bytes_.find('"', start);
      if (close == npos) {
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
    item = bytes_.substr(start, end - start);
    return ranToEnd && !complete_ ? Result::kCutShort : Result::kItem;
  }

 private:
  static constexpr std::size_t npos = std::string_view::npos;

  void SkipToSeparator() {
    while (!AtEnd() && bytes_[pos_] != ',' && !IsLineEnd(bytes_[pos_])) ++pos_;
  }

  void ConsumeSeparator() {
    if (AtEnd()) return;
    const char c = bytes_[pos_++];
    if (c == '\r' && !AtEnd() && bytes_[pos_] == '\n') ++pos_;
  }

  // The line of position at, from 1, counting line ends as far as at (a
  // quoted item may span lines). Positions asked for never go back.
  int LineAt(std::size_t at) {
    for (; counted_ < at; ++counted_) {
      const char c = bytes_[counted_];
      const bool crlf = c == '\r' && counted_ + 1 < bytes_.size() && bytes_[counted_ + 1] == '\n';
      if (IsLineEnd(c) && !crlf) ++line_;
    }
    return line_;
  }

  std::string_view bytes_;
  bool complete_;
  std::size_t pos_ = 0;
  std::size_t counted_ = 0;
  int line_ = 1;
};

enum class Entry { kDropped, kStored, kCut };

// Enters item as the next word, or drops it for a character outside the
// word table. Letters past the last position cut the word there.
Entry EnterWord(state::GameState& g, const std::string& item) {
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
  std::string text = item;
  for (char& c : text) c = AsciiUpper(c);
  g.words[static_cast<std::size_t>(n)] = std::move(text);
  g.wordStart[static_cast<std::size_t>(n)] = first;
  g.letterCount = static_cast<int16_t>(pos);
  g.wordCount = static_cast<int16_t>(n);
  return cut ? Entry::kCut : Entry::kStored;
}

WordReport ReadWords(state::GameState& g, std::string_view bytes, bool complete) {
  // A fresh reading: whatever the tables held before, indices start sane.
  g.wordCount = 0;
  g.letterCount = 0;
  WordReport report;
  report.empty = bytes.empty();
  ItemReader reader(bytes, complete);
  while (!reader.AtEnd()) {
    if (g.wordCount >= kMaxWords || g.letterCount >= kLetterStop) {
      const auto limit =
          g.wordCount >= kMaxWords ? WordProblem::kWordLimit : WordProblem::kLetterLimit;
      if (const int line = reader.NextItemLine()) report.stopped = WordNote{limit, line, {}};
      break;
    }
    std::string_view item;
    int line = 0;
    if (reader.Next(item, line) == ItemReader::Result::kCutShort) break;  // told below
    // Accented letters count as the plain letters they fold to, as if those
    // had been typed in the file: for the length, the limits and the word.
    bool folded = false;
    const std::string text = media::FoldAccents(item, folded);
    if (text.size() > kMaxItemLength) {
      report.stopped = WordNote{WordProblem::kItemTooLong, line, {}};
      break;
    }
    if (text.empty()) continue;
    if (text.size() < kMinWordLength) {
      report.Drop(WordProblem::kTooShort, line, item);
      continue;
    }
    const Entry entry = EnterWord(g, text);
    if (entry == Entry::kDropped) report.Drop(WordProblem::kBadCharacter, line, item);
    if (entry != Entry::kDropped && folded)
      report.Fold(line, item, g.words[static_cast<std::size_t>(g.wordCount)]);
    if (entry == Entry::kCut) {
      report.stopped = WordNote{WordProblem::kWordCut, line, std::string(item)};
      break;
    }
  }
  if (!complete && !report.stopped)
    report.stopped = WordNote{WordProblem::kReadFailed, reader.LastLine(), {}};
  // Lets the end-of-word test of the last word read inside the table.
  g.wordStart[static_cast<std::size_t>(g.wordCount) + 1] = g.letterCount;
  report.words = g.wordCount;
  return report;
}

// Text as editors save it: a UTF-8 byte-order mark is skipped, and UTF-16 of
// either byte order (told by its mark) becomes UTF-8. Other bytes are read as
// they are.
std::string_view AsText(std::string_view bytes, std::string& converted) {
  const auto startsWith = [&](std::string_view mark) {
    return bytes.substr(0, mark.size()) == mark;
  };
  if (startsWith("\xEF\xBB\xBF")) return bytes.substr(3);
  if (startsWith("\xFF\xFE") || startsWith("\xFE\xFF")) {
    converted = media::Utf16ToUtf8(bytes.substr(2), bytes[0] == '\xFE');
    return converted;
  }
  return bytes;
}

WordReport ReadFileBytes(state::GameState& g, std::string_view bytes, bool complete) {
  std::string converted;
  return ReadWords(g, AsText(bytes, converted), complete);
}

}  // namespace

WordReport LoadWordDataFromBytes(state::GameState& g, const std::string& bytes) {
  return ReadFileBytes(g, bytes, true);
}

WordReport LoadWordData(state::GameState& g, const std::string& path) {
  const storage::FileRead file = storage::ReadWholeFile(path, kMaxWordFileBytes);
  // A missing or unreadable file, or one that is not a plain file, leaves the
  // tables empty; start-up goes on.
  WordReport report = ReadFileBytes(g, file.bytes, !file.opened || file.complete);
  report.opened = file.opened;
  report.failure = file.Problem(kMaxWordFileBytes);
  return report;
}

}  // namespace typing
