// Writing and reading "rapiko-history.csv", the record of every finished round.
#include "stats/history_file.h"

#include <charconv>
#include <deque>

#include "stats/figures.h"
#include "stats/keys.h"
#include "storage/errors.h"
#include "storage/folder_lock.h"
#include "storage/read.h"
#include "storage/write.h"

namespace stats {
namespace {

constexpr std::size_t kColumns = 13;

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

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (;;) {
    const std::size_t at = text.find(separator);
    parts.push_back(text.substr(0, at));
    if (at == std::string_view::npos) return parts;
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

std::optional<int32_t> ParseCount(std::string_view text) { return ParseInt<int32_t>(text, 0); }

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
  return ParseCount(text.substr(0, point)) && ParseCount(text.substr(point + 1));
}

bool ParseKeys(std::string_view text, state::KeyTallies& keys) {
  if (text.empty()) return true;
  std::array<bool, state::kKeyCodes> seen{};
  for (std::string_view entry : Split(text, ' ')) {
    const std::vector<std::string_view> parts = Split(entry, ':');
    if (parts.size() != 4) return false;
    const std::optional<int16_t> code = KeyCodeOfName(parts[0]);
    const auto locked = ParseCount(parts[1]);
    const auto wrong = ParseCount(parts[2]);
    const auto lost = ParseCount(parts[3]);
    if (!code || !locked || !wrong || !lost || seen[*code]) return false;
    seen[*code] = true;
    keys[*code] = {*locked, *wrong, *lost};
  }
  return true;
}

std::string FilePath(const std::string& myPath) { return myPath + kHistoryFileName; }

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
  return line;
}

namespace {

std::optional<state::RoundRecord> ParseRoundLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const std::vector<std::string_view> f = Split(line, ',');
  if (f.size() != kColumns) return std::nullopt;
  if (!Matches(f[0], "9999-99-99") || !Matches(f[1], "99:99:99")) return std::nullopt;
  state::RoundRecord r;
  r.date = std::string(f[0]);
  r.time = std::string(f[1]);
  const auto score = ParseInt<int32_t>(f[2], INT32_MIN);
  const auto level = ParseInt<int32_t>(f[3], INT16_MIN);
  const auto maxLevel = ParseInt<int32_t>(f[4], INT16_MIN);
  if (!score || !level || !maxLevel) return std::nullopt;
  r.score = *score;
  r.level = *level;
  r.maxLevel = *maxLevel;
  state::RoundCounts& c = r.counts;
  int32_t* counts[] = {&c.destroyed, &c.locks, &c.wrongKeys, &c.lost, &c.shots};
  for (std::size_t i = 0; i < 5; ++i) {
    const auto v = ParseCount(f[5 + i]);
    if (!v) return std::nullopt;
    *counts[i] = *v;
  }
  // The two derived figures are checked for form only; they are computed
  // again from the counts.
  if (!IsDecimal(f[10]) || !(f[11].empty() || IsDecimal(f[11]))) return std::nullopt;
  if (!ParseKeys(f[12], c.keys)) return std::nullopt;
  return r;
}

}  // namespace

namespace {

HistoryRead ReadHistoryBytes(std::string_view bytes, std::size_t keep) {
  HistoryRead read;
  read.found = true;
  std::deque<state::RoundRecord> tail;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line == kHistoryHeader) continue;
    std::optional<state::RoundRecord> round = ParseRoundLine(line);
    if (!round) {
      ++read.damagedLines;
      continue;
    }
    ++read.rounds;
    if (!read.best || round->score > read.best->score) read.best = *round;
    if (keep == 0) continue;
    if (tail.size() == keep) tail.pop_front();
    tail.push_back(std::move(*round));
  }
  read.tail.assign(tail.begin(), tail.end());
  return read;
}

}  // namespace

HistoryRead ReadHistory(const std::string& myPath, std::size_t keep) {
  const storage::FileRead file = storage::ReadWholeFile(FilePath(myPath), kMaxHistoryBytes);
  if (!file.opened) return {};
  return ReadHistoryBytes(file.bytes, keep);
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
  const storage::WriteResult written = storage::AppendLines(path, kHistoryHeader, lines);
  if (!written.Ok()) fail(storage::ErrorText(written.error));
}

}  // namespace stats
