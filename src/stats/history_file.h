// "rapiko-history.csv": one line per finished round, appended, read back line by line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "state/progress.h"

namespace stats {

constexpr const char* kHistoryFileName = "rapiko-history.csv";

// The history is read whole, whatever its size, a piece of this size at a
// time: only the last rounds and the counts are kept.
constexpr std::size_t kReadPieceBytes = std::size_t{1} << 20;

// The first line of the file: the names of the columns. The list is the
// word list's name (empty: the game folder's rapdata.ini), practice 1 or 0.
#define RAPIKO_HISTORY_COLUMNS                                                       \
  "date,time,score,level,max_level,letters_destroyed,locks,wrong_keys,letters_lost," \
  "shots_fired,letters_per_minute,accuracy_percent,keys"
constexpr std::string_view kHistoryHeader = RAPIKO_HISTORY_COLUMNS ",list,practice";
// The first line of a history begun before the list and practice columns:
// its lines without them are rounds of the game folder's list, not practice.
constexpr std::string_view kFirstHistoryHeader = RAPIKO_HISTORY_COLUMNS;
#undef RAPIKO_HISTORY_COLUMNS

class HistoryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One round as a line of the file, without its line end.
std::string FormatRoundLine(const state::RoundRecord& round);

// What a reading of the file keeps: its count and best round, and the last
// rounds whole, of the rounds it was asked for.
struct HistoryRead {
  bool found = false;  // the file could be opened
  int32_t rounds = 0;
  int32_t damagedLines = 0;  // of the whole file
  // Ranked as the ranking ranks (level, then highest level, then score);
  // the earlier round on a tie.
  std::optional<state::RoundRecord> best;
  std::vector<state::RoundRecord> tail;  // at most the last `keep`, oldest first
};

// Which rounds a reading keeps: those of one word list (by its name, empty
// for the game folder's rapdata.ini), or of every list.
struct ListFilter {
  bool allLists = true;
  std::string list;
  static ListFilter Of(std::string list) { return {false, std::move(list)}; }
};

HistoryRead ReadHistory(const std::string& myPath, std::size_t keep, const ListFilter& filter = {});

// Appends the rounds under the folder's lock and syncs them. Earlier lines
// are never touched: a failed append is cut off again. Throws HistoryError.
void AppendRounds(const std::string& myPath, const std::vector<state::RoundRecord>& rounds);

}  // namespace stats
