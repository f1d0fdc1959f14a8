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

// The first line of the file: the names of the columns.
constexpr std::string_view kHistoryHeader =
    "date,time,score,level,max_level,letters_destroyed,locks,wrong_keys,letters_lost,"
    "shots_fired,letters_per_minute,accuracy_percent,keys";

class HistoryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One round as a line of the file, without its line end.
std::string FormatRoundLine(const state::RoundRecord& round);

// What a reading of the file keeps: its count and best round, and the last
// rounds whole.
struct HistoryRead {
  bool found = false;  // the file could be opened
  int32_t rounds = 0;
  int32_t damagedLines = 0;
  std::optional<state::RoundRecord> best;
  std::vector<state::RoundRecord> tail;  // at most the last `keep`, oldest first
};

HistoryRead ReadHistory(const std::string& myPath, std::size_t keep);

// Appends the rounds under the folder's lock and syncs them. Earlier lines
// are never touched: a failed append is cut off again. Throws HistoryError.
void AppendRounds(const std::string& myPath, const std::vector<state::RoundRecord>& rounds);

}  // namespace stats
