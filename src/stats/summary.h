// The statistics of the history: best and last round, averages, the chart, weak keys.
#pragma once

#include <cstddef>
#include <string>

#include "state/progress.h"
#include "stats/history_file.h"

namespace stats {

constexpr std::size_t kChartRounds = 30;    // the chart of pace and accuracy
constexpr std::size_t kKeyMapRounds = 20;   // the key map and the weakest keys
constexpr std::size_t kAverageRounds = 10;  // the last ten against the ten before
constexpr std::size_t kWeakestKeys = 3;

state::ProgressSummary Summarise(const HistoryRead& read);
// Reads the history of the game folder and sums up the rounds of the filter.
state::ProgressSummary ReadSummary(const std::string& myPath, const ListFilter& filter);

// Texts shared by the screen and the terminal.
std::string RoundText(const state::RoundRecord& round);  // "456 points, level 7/9, ..."
std::string AveragesText(const state::Averages& averages);
std::string DamagedText(int32_t lines);                    // "(2 damaged lines skipped)"
std::string WeakestText(const state::ProgressSummary& s);  // "Q: 40% missed, ..."
std::string PercentText(double fraction);                  // 0.404 as "40%"

// What `rapiko --stats` prints: the word list the summary is of, then the
// summary as plain text lines, or one line saying there is no round yet.
std::string SummaryText(const state::ProgressSummary& s, const std::string& myPath,
                        const ListFilter& filter);

}  // namespace stats
