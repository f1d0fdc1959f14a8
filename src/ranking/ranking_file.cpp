// Reading "rapikosc.ini" (the last typed name and the ten ranking places) and its exact bytes.
#include "ranking/ranking_file.h"

#include <cerrno>
#include <optional>
#include <string_view>

#include "storage/paths.h"
#include "storage/read.h"

namespace ranking {
namespace {

constexpr std::size_t kPlaces = state::kRankPlaces;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Reads comma- and line-separated values the way sequential text input does.
class ValueReader {
 public:
  // complete is false when the bytes are cut short: a value that runs into
  // their end is then not trusted.
  ValueReader(std::string_view bytes, bool complete) : bytes_(bytes), complete_(complete) {}

  // The next value, or nothing at the end of the data.
  std::optional<std::string> Next() {
    valueLine_ = line_;
    while (!AtEnd() && IsBlank(bytes_[pos_])) ++pos_;
    if (AtEnd()) return std::nullopt;
    std::size_t start = pos_;
    std::size_t end = pos_;
    if (!AtEnd() && bytes_[pos_] == '"') {
      // A quoted value stops at its closing quote, or at the line end when
      // the quote is never closed, so one bad line cannot swallow the rest.
      start = ++pos_;
      while (!AtEnd() && bytes_[pos_] != '"' && !IsLineEnd(bytes_[pos_])) ++pos_;
      end = pos_;
      if (!AtEnd() && bytes_[pos_] == '"') {
        ++pos_;
        SkipToSeparator();
      }
    } else {
      SkipToSeparator();
      end = pos_;
      while (end > start && IsBlank(bytes_[end - 1])) --end;
    }
    if (AtEnd() && !complete_) return std::nullopt;
    ConsumeSeparator();
    return std::string(bytes_.substr(start, end - start));
  }

  // The line on which the value last asked for starts (or would have).
  int ValueLine() const { return valueLine_; }

 private:
  bool AtEnd() const { return pos_ >= bytes_.size(); }

  void SkipToSeparator() {
    while (!AtEnd() && bytes_[pos_] != ',' && !IsLineEnd(bytes_[pos_])) ++pos_;
  }

  void ConsumeSeparator() {
    if (AtEnd()) return;
    const char c = bytes_[pos_++];
    if (c == '\r' && !AtEnd() && bytes_[pos_] == '\n') ++pos_;
    if (IsLineEnd(c)) ++line_;
  }

  std::string_view bytes_;
  bool complete_;
  std::size_t pos_ = 0;
  int line_ = 1;
  int valueLine_ = 1;
};

// Decimal text, blanks around it and one sign allowed, to a 32-bit key.
// Anything else, fractions and exponents included, is not a key.
std::optional<int32_t> ParseKey(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  const int64_t limit = negative ? int64_t{2147483648} : int64_t{2147483647};
  int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > limit) return std::nullopt;  // also keeps value far from overflow
  }
  return static_cast<int32_t>(negative ? -value : value);
}

// Reads the values into v; the first failure ends the reading and what was
// read before it stays. Returns why the bytes are damaged, or "".
std::string ReadValues(RankingValues& v, std::string_view bytes, bool complete) {
  ValueReader reader(bytes, complete);
  std::string damage;
  const auto where = [&reader](const std::string& what) {
    return "line " + std::to_string(reader.ValueLine()) + ": " + what;
  };
  const auto name = [&](std::string& into) {
    std::optional<std::string> value = reader.Next();
    if (!value) return false;
    if (value->size() > kMaxStoredNameLength) {
      value->resize(kMaxStoredNameLength);
      if (damage.empty()) {
        damage = where("a name longer than " + std::to_string(kMaxStoredNameLength) + " bytes");
      }
    }
    into = std::move(*value);
    return true;
  };
  // The first damage found is the one reported.
  const auto stop = [&](const std::string& what) { return damage.empty() ? where(what) : damage; };
  const std::string early = "the file ends before its 21st value";
  if (!name(v.entryName)) return stop(early);
  for (std::size_t place = 0; place < kPlaces; ++place) {
    if (!name(v.rankNames[place])) return stop(early);
    const std::optional<std::string> value = reader.Next();
    if (!value) return stop(early);
    const std::optional<int32_t> key = ParseKey(*value);
    if (!key) return stop("a key that is not a whole number of 32 bits");
    v.rankKeys[place] = *key;
  }
  return damage;
}

}  // namespace

RankingValues ValuesOf(const state::GameState& g) {
  return RankingValues{g.entryName, g.rankNames, g.rankKeys};
}

void PutValues(state::GameState& g, const RankingValues& values) {
  g.entryName = values.entryName;
  g.rankNames = values.rankNames;
  g.rankKeys = values.rankKeys;
}

std::string RankingFileBytes(const RankingValues& values) {
  std::string out;
  const auto quoted = [&out](const std::string& text) { out += '"' + text + "\"\r\n"; };
  quoted(values.entryName);
  for (std::size_t place = 0; place < kPlaces; ++place) {
    quoted(values.rankNames[place]);
    out += std::to_string(values.rankKeys[place]) + "\r\n";
  }
  return out;
}

std::string RankingFileBytes(const state::GameState& g) { return RankingFileBytes(ValuesOf(g)); }

RankingFile ReadRankingFile(const std::string& path, const RankingValues& start) {
  RankingFile file;
  file.values = start;
  const storage::FileRead read = storage::ReadWholeFile(path, kMaxRankingFileBytes);
  if (!read.opened && read.error == ENOENT) return file;
  // A file that could not be read whole is never taken for an empty or a
  // short ranking: that would overwrite places nobody could see.
  if (!read.complete && !read.tooLarge) {
    file.status = RankingFile::Status::kUnreadable;
    file.problem = read.Problem(kMaxRankingFileBytes);
    return file;
  }
  file.status = RankingFile::Status::kRead;
  file.mode = read.mode;
  file.damage = ReadValues(file.values, read.bytes, read.complete);
  if (read.tooLarge) file.damage = read.Problem(kMaxRankingFileBytes);
  return file;
}

std::string ListId(std::string_view text) {
  uint64_t hash = 0xcbf29ce484222325u;
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3u;
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string id(16, '0');
  for (int i = 15; i >= 0; --i, hash >>= 4) id[static_cast<std::size_t>(i)] = kHex[hash & 15];
  return id;
}

std::string RankingPath(const std::string& myPath, const std::string& listName,
                        const std::string& listId) {
  if (listName.empty()) return myPath + kRankingFileName;
  std::string stem = listName;
  std::string id = listId;
  if (stem.size() > kMaxRankingStemBytes) {
    stem.resize(kMaxRankingStemBytes);
    // Not in the middle of a UTF-8 character.
    while (!stem.empty() && (static_cast<unsigned char>(stem.back()) & 0xC0) == 0x80) {
      stem.pop_back();
    }
    if (!stem.empty() && static_cast<unsigned char>(stem.back()) >= 0xC0) stem.pop_back();
    if (id.empty()) id = ListId(listName);
  }
  if (!id.empty()) stem += "~" + id;
  return myPath + kRankingsFolder + "/" + stem + ".ini";
}

std::string RankingPathToRead(const std::string& myPath, const std::string& listName,
                              const std::string& listId) {
  const std::string path = RankingPath(myPath, listName, listId);
  if (listName.empty() || storage::Exists(path)) return path;
  const std::string before = myPath + kRankingsFolder + "/" + listName + ".ini";
  return before != path && storage::IsPlainFile(before) ? before : path;
}

std::string LoadRanking(state::GameState& g, const std::string& myPath) {
  const std::string path = RankingPathToRead(myPath, g.choices.listName, g.choices.listId);
  const RankingFile file = ReadRankingFile(path, ValuesOf(g));
  PutValues(g, file.values);
  if (file.status == RankingFile::Status::kUnreadable) {
    return path + " cannot be read (" + file.problem +
           "): the ranking starts empty and the file will not be overwritten";
  }
  if (!file.damage.empty()) {
    return path + " is damaged (" + file.damage + "): what could be read is used, and the file " +
           "will be kept as " + storage::NameOf(path) + ".bak when the ranking is saved";
  }
  return "";
}

std::string LoadRankingFromBytes(state::GameState& g, const std::string& bytes) {
  RankingValues values = ValuesOf(g);
  std::string damage = ReadValues(values, bytes, true);
  PutValues(g, values);
  return damage;
}

}  // namespace ranking
