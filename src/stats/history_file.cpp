// Writing and reading "rapiko-history.csv", the record of every finished round.
#include "stats/history_file.h"

#include <algorithm>
#include <charconv>
#include <deque>
#include <tuple>

#include "ranking/rank_key.h"
#include "state/figures.h"
#include "stats/keys.h"
#include "storage/errors.h"
#include "storage/folder_lock.h"
#include "storage/read.h"
#include "storage/write.h"

namespace stats {

using state::AccuracyPercent;
using state::LettersPerMinute;
using state::MissRate;
using state::OneDecimal;
namespace {

// The columns the game knows, in the order it writes them (kHistoryHeader).
enum Column : std::size_t {
  kDate,
  kTime,
  kScore,
  kLevel,
  kMaxLevel,
  kDestroyed,
  kLocks,
  kWrong,
  kLost,
  kShots,
  kPace,
  kAccuracy,
  kKeys,
  kList,
  kPractice,
  kListId,
  kKnownColumns
};
// Every line has the columns up to the keys; older games' lines end there, or after practice.
constexpr std::size_t kRequiredColumns = kList;
constexpr std::array<std::size_t, 2> kOlderLineColumns = {kList, kListId};
// A line of more fields is damage (and so is a header of more names).
constexpr std::size_t kMaxColumns = 64;
constexpr std::size_t kAbsent = kMaxColumns;

// Word keys in keyboard-map order, then the other keys by code: the order of
// the keys column.
std::vector<int32_t> KeyColumnOrder() {
  std::vector<int32_t> order;
  for (char c = 'A'; c <= 'Z'; ++c) order.push_back(*KeyCodeOfName(std::string(1, c)));
  for (char c : std::string_view("0123456789-")) {
    order.push_back(*KeyCodeOfName(std::string(1, c)));
  }
  for (int32_t code = 1; code < state::kKeyCodes; ++code) {
    if (!IsWordKey(code)) order.push_back(code);
  }
  return order;
}

// Splits text at each separator into parts; the number of parts, or more
// than N when there are more than N (the first N are then in parts).
template <std::size_t N>
std::size_t Split(std::string_view text, char separator, std::array<std::string_view, N>& parts) {
  for (std::size_t i = 0;; ++i) {
    if (i == N) return N + 1;
    const std::size_t at = text.find(separator);
    parts[i] = text.substr(0, at);
    if (at == std::string_view::npos) return i + 1;
    text.remove_prefix(at + 1);
  }
}

template <typename Int>
std::optional<Int> ParseInt(std::string_view text, Int lowest) {
  Int value{};
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc{} || ptr != end || value < lowest) return std::nullopt;
  return value;
}

// A count: a whole number from 0 up, as written; -1 when the text is not
// one. (A plain number rather than an optional: it is read a hundred times a
// line, and returning an optional stalls the processor on each.)
int64_t CountOf(std::string_view text) {
  // Most counts are a few digits: read them here, the rest as any number.
  if (!text.empty() && text.size() <= 9) {
    int32_t value = 0;
    for (const char c : text) {
      if (c < '0' || c > '9') {
        const auto any = ParseInt<int32_t>(text, 0);
        return any ? *any : -1;
      }
      value = value * 10 + (c - '0');
    }
    return value;
  }
  const auto any = ParseInt<int32_t>(text, 0);
  return any ? *any : -1;
}

// Digits where the pattern has '9', the pattern's character elsewhere.
bool Matches(std::string_view text, std::string_view pattern) {
  if (text.size() != pattern.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (pattern[i] == '9' ? !digit : text[i] != pattern[i]) return false;
  }
  return true;
}

// A decimal with one digit after the point, as written.
bool IsDecimal(std::string_view text) {
  const std::size_t point = text.find('.');
  if (point == std::string_view::npos || point == 0 || text.size() - point != 2) return false;
  return CountOf(text.substr(0, point)) >= 0 && CountOf(text.substr(point + 1)) >= 0;
}

// The next token of text, up to (not including) the first of stops or the
// end; text moves past the token, not past its stop.
std::string_view Token(std::string_view& text, char stopA, char stopB) {
  std::size_t n = 0;
  while (n < text.size() && text[n] != stopA && text[n] != stopB) ++n;
  const std::string_view token = text.substr(0, n);
  text.remove_prefix(n);
  return token;
}

// The keys column, "KEY:locked:wrong:lost" entries separated by blanks;
// tallies into keys when given, else only checked. Read in one pass: it is
// most of every line.
bool ParseKeys(std::string_view text, state::KeyTallies* keys) {
  if (text.empty()) return true;
  const std::array<int16_t, 256>& wordKeys = WordKeyCodes();
  std::array<bool, state::kKeyCodes> seen{};
  for (;;) {
    const std::string_view name = Token(text, ':', ' ');
    // Word keys by their character, the others as "#CODE".
    const int16_t code = name.size() == 1 ? wordKeys[static_cast<unsigned char>(name[0])]
                                          : KeyCodeOfName(name).value_or(0);
    if (code == 0 || seen[code]) return false;
    seen[code] = true;
    std::array<int32_t, 3> counts{};
    for (int32_t& count : counts) {
      if (text.empty() || text[0] != ':') return false;
      text.remove_prefix(1);
      const int64_t value = CountOf(Token(text, ':', ' '));
      if (value < 0) return false;
      count = static_cast<int32_t>(value);
    }
    if (keys) (*keys)[code] = {counts[0], counts[1], counts[2]};
    if (text.empty()) return true;
    if (text[0] != ' ') return false;
    text.remove_prefix(1);
  }
}

std::string FilePath(const std::string& myPath) { return myPath + kHistoryFileName; }

std::vector<std::string_view> Fields(std::string_view header) {
  std::vector<std::string_view> names;
  for (;;) {
    const std::size_t at = header.find(',');
    names.push_back(header.substr(0, at));
    if (at == std::string_view::npos) return names;
    header.remove_prefix(at + 1);
  }
}

// Where each column the game knows is in the lines of one file, by the
// names of its first line.
struct Layout {
  std::array<std::size_t, kKnownColumns> at{};  // kAbsent: not in the file
  std::size_t count = kKnownColumns;            // the fields of a whole line
  std::size_t ours = kKnownColumns;             // how many names begin as the game's do

  // The game's own columns: a file without a first line that names them.
  Layout() {
    for (std::size_t c = 0; c < kKnownColumns; ++c) at[c] = c;
  }

  // A first line that names the columns rather than holding a round.
  static bool IsHeader(std::string_view line) {
    const std::vector<std::string_view> names = Fields(line);
    return std::find(names.begin(), names.end(), "date") != names.end();
  }

  static Layout Of(std::string_view header) {
    if (!header.empty() && header.back() == '\r') header.remove_suffix(1);
    const std::vector<std::string_view> ourNames = Fields(kHistoryHeader);
    const std::vector<std::string_view> names = Fields(header);
    Layout layout;
    layout.ours = 0;
    while (layout.ours < names.size() && layout.ours < kKnownColumns &&
           names[layout.ours] == ourNames[layout.ours]) {
      ++layout.ours;
    }
    // An older game's first line: this game's lines follow it with every column.
    if (layout.ours == names.size()) return Layout();
    if (names.size() > kMaxColumns) return Layout();
    layout.count = names.size();
    for (std::size_t c = 0; c < kKnownColumns; ++c) {
      const auto found = std::find(names.begin(), names.end(), ourNames[c]);
      layout.at[c] =
          found == names.end() ? kAbsent : static_cast<std::size_t>(found - names.begin());
      // Not a history the game can read by these names: read it by its own.
      if (c < kRequiredColumns && layout.at[c] == kAbsent) return Layout();
    }
    return layout;
  }

  // A line of a whole row, or one of an older game written before the first line's other columns.
  bool Fits(std::size_t fields) const {
    if (fields == count) return true;
    return fields < count && fields <= ours &&
           std::find(kOlderLineColumns.begin(), kOlderLineColumns.end(), fields) !=
               kOlderLineColumns.end();
  }

  bool Own() const { return count == kKnownColumns && ours == kKnownColumns; }
};

// A list's name as its column holds it: a comma, a quote, a percent sign and
// control characters as %XX, so that the line still splits at its commas.
std::string ListColumn(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || c == ',' || c == '"' || c == '%') {
      text += '%';
      text += kHex[byte >> 4];
      text += kHex[byte & 15];
    } else {
      text += c;
    }
  }
  return text;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The name in a list column, or nothing when the column is not one.
std::optional<std::string> ListName(std::string_view column) {
  std::string name;
  for (std::size_t i = 0; i < column.size(); ++i) {
    if (column[i] != '%') {
      name += column[i];
      continue;
    }
    if (column.size() - i < 3) return std::nullopt;
    const int high = HexDigit(column[i + 1]);
    const int low = HexDigit(column[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    name += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return name;
}

}  // namespace

std::string FormatRoundLine(const state::RoundRecord& r) {
  const state::RoundCounts& c = r.counts;
  const std::optional<double> accuracy = AccuracyPercent(c.locks, c.wrongKeys);
  std::string line = r.date + "," + r.time;
  for (int32_t v :
       {r.score, r.level, r.maxLevel, c.destroyed, c.locks, c.wrongKeys, c.lost, c.shots}) {
    line += "," + std::to_string(v);
  }
  line += "," + OneDecimal(LettersPerMinute(c.destroyed));
  line += "," + (accuracy ? OneDecimal(*accuracy) : std::string());
  line += ",";
  bool first = true;
  for (int32_t code : KeyColumnOrder()) {
    const state::KeyTally& t = c.keys[static_cast<std::size_t>(code)];
    if (t == state::KeyTally{}) continue;
    if (!first) line += ' ';
    first = false;
    line += KeyName(code) + ":" + std::to_string(t.locked) + ":" + std::to_string(t.wrong) + ":" +
            std::to_string(t.lost);
  }
  line += "," + ListColumn(r.list) + (r.practice ? ",1" : ",0") + "," + r.listId;
  return line;
}

namespace {

// What a reading needs of every line, before it reads the line whole.
struct LineKey {
  int32_t rankKey = 0;
  std::string_view list;   // the list column as written
  bool hasListId = false;  // false: a line written before the column
  std::string_view listId;
};

bool IsListId(std::string_view text) {
  return text.empty() || (text.size() == 16 && std::all_of(text.begin(), text.end(), [](char c) {
                            return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
                          }));
}

// Whether a line (without its line end) is a whole, well-formed round; its
// values go into r when given (the key tallies the costliest of them). A
// line without the list and practice is a round of the game folder's list,
// not practice.
bool ReadRoundLine(std::string_view line, const Layout& layout, state::RoundRecord* r,
                   LineKey& key) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::array<std::string_view, kMaxColumns> fields;
  const std::size_t count = Split(line, ',', fields);
  if (!layout.Fits(count)) return false;
  std::array<std::string_view, kKnownColumns> f;
  std::array<bool, kKnownColumns> has{};
  for (std::size_t c = 0; c < kKnownColumns; ++c) {
    has[c] = layout.at[c] < count;
    if (has[c]) f[c] = fields[layout.at[c]];
    if (c < kRequiredColumns && !has[c]) return false;
  }
  if (!Matches(f[kDate], "9999-99-99") || !Matches(f[kTime], "99:99:99")) return false;
  const auto scored = ParseInt<int32_t>(f[kScore], INT32_MIN);
  const auto level = ParseInt<int32_t>(f[kLevel], INT16_MIN);
  const auto maxLevel = ParseInt<int32_t>(f[kMaxLevel], INT16_MIN);
  if (!scored || !level || !maxLevel) return false;
  // The list and practice come as a pair.
  if (has[kList] != has[kPractice]) return false;
  std::optional<std::string> list = std::string();
  if (has[kList]) {
    if (f[kPractice] != "0" && f[kPractice] != "1") return false;
    list = ListName(f[kList]);
    if (!list) return false;
  }
  if (has[kListId] && !IsListId(f[kListId])) return false;
  std::array<int32_t, 5> counts{};
  for (std::size_t i = 0; i < counts.size(); ++i) {
    const int64_t v = CountOf(f[kDestroyed + i]);
    if (v < 0) return false;
    counts[i] = static_cast<int32_t>(v);
  }
  // The two derived figures are checked for form only; they are computed
  // again from the counts.
  if (!IsDecimal(f[kPace]) || !(f[kAccuracy].empty() || IsDecimal(f[kAccuracy]))) return false;
  if (!ParseKeys(f[kKeys], r ? &r->counts.keys : nullptr)) return false;
  key.rankKey = ranking::ComputeRankKey(*level, *maxLevel, *scored);
  key.list = f[kList];
  key.hasListId = has[kListId];
  key.listId = f[kListId];
  if (r) {
    r->list = std::move(*list);
    r->listId = std::string(f[kListId]);
    r->practice = f[kPractice] == "1";
    r->date = std::string(f[kDate]);
    r->time = std::string(f[kTime]);
    r->score = *scored;
    r->level = *level;
    r->maxLevel = *maxLevel;
    state::RoundCounts& c = r->counts;
    std::tie(c.destroyed, c.locks, c.wrongKeys, c.lost, c.shots) =
        std::tie(counts[0], counts[1], counts[2], counts[3], counts[4]);
  }
  return true;
}

std::optional<state::RoundRecord> ParseRoundLine(std::string_view line, const Layout& layout) {
  state::RoundRecord r;
  LineKey key;
  if (!ReadRoundLine(line, layout, &r, key)) return std::nullopt;
  return r;
}

// Keeps what a reading needs of each line in turn: the counts, and the
// lines of the best round and of the last `keep` rounds, read whole at the
// end (a line's key tallies are the costly part, and most lines need none).
class HistoryReader {
 public:
  HistoryReader(std::size_t keep, const ListFilter& filter)
      : keep_(keep), filter_(filter), listColumn_(ListColumn(filter.list)) {
    read_.found = true;
  }

  void Line(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const bool first = !started_;
    started_ = true;
    // The first line names the columns; a header written again later is none of the rounds.
    if (first && Layout::IsHeader(line)) {
      layout_ = Layout::Of(line);
      header_ = line;
      return;
    }
    if (line.empty() || line == header_ || line == kHistoryHeader || line == kListHistoryHeader ||
        line == kFirstHistoryHeader) {
      return;
    }
    LineKey key;
    if (line.size() > kMaxLineBytes || !ReadRoundLine(line, layout_, nullptr, key)) {
      Damaged();
      return;
    }
    if (!filter_.allLists &&
        (key.list != listColumn_ || (key.hasListId && key.listId != filter_.listId))) {
      return;
    }
    ++read_.rounds;
    if (best_.empty() || key.rankKey > bestKey_) {
      best_ = line;
      bestKey_ = key.rankKey;
    }
    if (keep_ == 0) return;
    if (tail_.size() == keep_) tail_.pop_front();
    tail_.emplace_back(line);
  }

  void Damaged() {
    started_ = true;
    ++read_.damagedLines;
  }

  HistoryRead Finish() {
    if (!best_.empty()) read_.best = ParseRoundLine(best_, layout_);
    for (const std::string& line : tail_) read_.tail.push_back(*ParseRoundLine(line, layout_));
    return read_;
  }

 private:
  std::size_t keep_;
  const ListFilter& filter_;
  std::string listColumn_;  // the filter's list as its column holds it
  HistoryRead read_;
  bool started_ = false;
  Layout layout_;
  std::string header_;
  std::string best_;
  int32_t bestKey_ = 0;
  std::deque<std::string> tail_;
};

}  // namespace

HistoryRead ReadHistory(const std::string& myPath, std::size_t keep, const ListFilter& filter) {
  HistoryReader reader(keep, filter);
  std::string partial;    // a line that runs on into the next piece
  bool overlong = false;  // the line under way is past kMaxLineBytes: passed over
  const storage::FileRead file =
      storage::ReadInPieces(FilePath(myPath), kReadPieceBytes, [&](std::string_view piece) {
        for (std::size_t end; (end = piece.find('\n')) != std::string_view::npos;) {
          if (overlong) {
            reader.Damaged();
            overlong = false;
          } else if (partial.empty()) {
            reader.Line(piece.substr(0, end));
          } else {
            partial.append(piece.substr(0, end));
            reader.Line(partial);
            partial.clear();
          }
          piece.remove_prefix(end + 1);
        }
        if (!overlong && partial.size() + piece.size() > kMaxLineBytes) {
          overlong = true;
          partial = std::string();
        }
        if (!overlong) partial.append(piece);
      });
  if (!file.opened) return {};
  if (overlong) {
    reader.Damaged();
  } else if (!partial.empty()) {
    reader.Line(partial);
  }
  return reader.Finish();
}

void AppendRounds(const std::string& myPath, const std::vector<state::RoundRecord>& rounds) {
  std::string lines;
  for (const state::RoundRecord& round : rounds) lines += FormatRoundLine(round) + "\n";
  const std::string path = FilePath(myPath);
  const auto fail = [&path](const std::string& why) {
    throw HistoryError("cannot write the history file " + path + ": " + why);
  };
  // The folder's lock: two games never append at once, nor while one saves
  // its ranking.
  std::optional<storage::FolderLock> lock;
  try {
    lock.emplace(myPath);
  } catch (const storage::LockError& e) {
    fail(e.what());
  }
  // A history begun by a newer game names columns of its own: each line
  // goes under the names its first line gives, those this game lacks empty.
  const storage::FileRead head = storage::ReadWholeFile(path, kMaxLineBytes);
  const std::string_view first = std::string_view(head.bytes).substr(0, head.bytes.find('\n'));
  if (Layout::IsHeader(first) && !Layout::Of(first).Own()) {
    const Layout layout = Layout::Of(first);
    std::string placed;
    for (const state::RoundRecord& round : rounds) {
      const std::string own = FormatRoundLine(round);
      const std::vector<std::string_view> values = Fields(own);
      std::vector<std::string_view> fields(layout.count);
      for (std::size_t c = 0; c < kKnownColumns; ++c) {
        if (layout.at[c] != kAbsent) fields[layout.at[c]] = values[c];
      }
      for (std::size_t i = 0; i < fields.size(); ++i) {
        placed += (i ? "," : "") + std::string(fields[i]);
      }
      placed += '\n';
    }
    lines = placed;
  }
  const storage::WriteResult written = storage::AppendLines(path, kHistoryHeader, lines);
  if (!written.Ok()) fail(storage::ErrorText(written.error));
}

}  // namespace stats
