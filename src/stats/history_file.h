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
// A longer line is damage (a round's line is a few kilobytes at most), and
// is passed over without being kept: reading costs bounded memory.
constexpr std::size_t kMaxLineBytes = 64 * 1024;

// The first line of the file names the columns, and lines are read by those
// names: a column this game does not know is passed over, one it knows that
// the file lacks takes its value of old. The list is the word list's name
// (empty: the game folder's rapdata.ini), practice 1 or 0, list_id which
// file a list played by its path was (Choices::listId; empty otherwise).
#define RAPIKO_HISTORY_COLUMNS                                                       \
  "date,time,score,level,max_level,letters_destroyed,locks,wrong_keys,letters_lost," \
  "shots_fired,letters_per_minute,accuracy_percent,keys"
constexpr std::string_view kHistoryHeader = RAPIKO_HISTORY_COLUMNS ",list,practice,list_id";
// The first lines of histories begun by older games: before the list and
// practice (their lines are rounds of the game folder's list, not
// practice), and before list_id (rounds of any list of that name). Later
// games append lines of every column under them.
constexpr std::string_view kFirstHistoryHeader = RAPIKO_HISTORY_COLUMNS;
constexpr std::string_view kListHistoryHeader = RAPIKO_HISTORY_COLUMNS ",list,practice";
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
// for the game folder's rapdata.ini, and its listId), or of every list. A
// line written before the list_id column counts for every list of its name.
struct ListFilter {
  bool allLists = true;
  std::string list;
  std::string listId;
  static ListFilter Of(std::string list, std::string listId = "") {
    return {false, std::move(list), std::move(listId)};
  }
};

HistoryRead ReadHistory(const std::string& myPath, std::size_t keep, const ListFilter& filter = {});

// Appends the rounds under the folder's lock and syncs them. Earlier lines
// are never touched: a failed append is cut off again. Throws HistoryError.
void AppendRounds(const std::string& myPath, const std::vector<state::RoundRecord>& rounds);

}  // namespace stats
