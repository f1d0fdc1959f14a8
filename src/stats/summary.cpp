// Summing up the history for the statistics screen, `--stats` and practice.
#include "stats/summary.h"

#include <algorithm>
#include <cmath>

#include "state/arith.h"
#include "state/figures.h"
#include "stats/keys.h"

namespace stats {

namespace {
// The game folder's own list, as --stats names it.
const std::string kFolderListText = "the game folder's rapdata.ini";
}  // namespace

using state::AccuracyPercent;
using state::LettersPerMinute;
using state::MissRate;
using state::OneDecimal;
namespace {

// The `count` rounds of tail before its last `skip` ones.
state::Averages Average(const std::vector<state::RoundRecord>& tail, std::size_t skip,
                        std::size_t count) {
  state::Averages a;
  if (tail.size() <= skip) return a;
  const std::size_t end = tail.size() - skip;
  const std::size_t begin = end > count ? end - count : 0;
  int64_t locks = 0;
  int64_t wrong = 0;
  for (std::size_t i = begin; i < end; ++i) {
    const state::RoundRecord& r = tail[i];
    a.score += r.score;
    a.lettersPerMinute += LettersPerMinute(r.counts.destroyed);
    locks += r.counts.locks;
    wrong += r.counts.wrongKeys;
  }
  a.rounds = static_cast<int32_t>(end - begin);
  a.score /= a.rounds;
  a.lettersPerMinute /= a.rounds;
  a.accuracy = AccuracyPercent(locks, wrong);
  return a;
}

std::vector<int16_t> Weakest(const state::KeyTallies& keys) {
  struct Candidate {
    int16_t code;
    double rate;
    int64_t misses;
    std::size_t order;
  };
  std::vector<Candidate> candidates;
  std::size_t order = 0;
  for (const std::string& row : KeyboardRows()) {
    for (char c : row) {
      const int16_t code = *KeyCodeOfName(std::string(1, c));
      const state::KeyTally& t = keys[static_cast<std::size_t>(code)];
      const int64_t misses = int64_t{t.wrong} + t.lost;
      if (misses > 0) candidates.push_back({code, *MissRate(t), misses, order});
      ++order;
    }
  }
  std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
    if (a.rate != b.rate) return a.rate > b.rate;
    if (a.misses != b.misses) return a.misses > b.misses;
    return a.order < b.order;
  });
  std::vector<int16_t> codes;
  for (std::size_t i = 0; i < candidates.size() && i < kWeakestKeys; ++i) {
    codes.push_back(candidates[i].code);
  }
  return codes;
}

std::string Accuracy(const std::optional<double>& percent) {
  return percent ? OneDecimal(*percent) + "% accuracy" : std::string("no keys judged");
}

}  // namespace

state::ProgressSummary Summarise(const HistoryRead& read) {
  state::ProgressSummary s;
  s.rounds = read.rounds;
  s.damagedLines = read.damagedLines;
  s.best = read.best;
  const std::vector<state::RoundRecord>& tail = read.tail;
  if (!tail.empty()) s.last = tail.back();
  const std::size_t chartFrom = tail.size() > kChartRounds ? tail.size() - kChartRounds : 0;
  for (std::size_t i = chartFrom; i < tail.size(); ++i) {
    const state::RoundCounts& c = tail[i].counts;
    s.chart.push_back({LettersPerMinute(c.destroyed), AccuracyPercent(c.locks, c.wrongKeys)});
  }
  s.recent = Average(tail, 0, kAverageRounds);
  s.before = Average(tail, kAverageRounds, kAverageRounds);
  const std::size_t keysFrom = tail.size() > kKeyMapRounds ? tail.size() - kKeyMapRounds : 0;
  for (std::size_t i = keysFrom; i < tail.size(); ++i) {
    for (std::size_t k = 0; k < s.keys.size(); ++k) {
      const state::KeyTally& t = tail[i].counts.keys[k];
      s.keys[k].locked = state::Saturate32(int64_t{s.keys[k].locked} + t.locked);
      s.keys[k].wrong = state::Saturate32(int64_t{s.keys[k].wrong} + t.wrong);
      s.keys[k].lost = state::Saturate32(int64_t{s.keys[k].lost} + t.lost);
    }
  }
  s.weakest = Weakest(s.keys);
  return s;
}

state::ProgressSummary ReadSummary(const std::string& myPath, const ListFilter& filter) {
  return Summarise(ReadHistory(myPath, std::max(kChartRounds, 2 * kAverageRounds), filter));
}

namespace {

std::string ChangeText(const state::Averages& now, const state::Averages& then) {
  const auto signed1 = [](double v) { return (v >= 0 ? "+" : "") + OneDecimal(v); };
  std::string text = signed1(now.score - then.score) + " points, " +
                     signed1(now.lettersPerMinute - then.lettersPerMinute) + " letters/min";
  if (now.accuracy && then.accuracy) {
    text += ", " + signed1(*now.accuracy - *then.accuracy) + "% accuracy";
  }
  return text;
}

}  // namespace

std::string PercentText(double fraction) {
  return std::to_string(static_cast<int>(std::lround(fraction * 100))) + "%";
}

std::string RoundText(const state::RoundRecord& r) {
  return std::to_string(r.score) + " points, level " + std::to_string(r.level) + "/" +
         std::to_string(r.maxLevel) + ", " + OneDecimal(LettersPerMinute(r.counts.destroyed)) +
         " letters/min, " + Accuracy(AccuracyPercent(r.counts.locks, r.counts.wrongKeys));
}

std::string AveragesText(const state::Averages& a) {
  if (a.rounds == 0) return "no rounds yet";
  return OneDecimal(a.score) + " points, " + OneDecimal(a.lettersPerMinute) + " letters/min, " +
         Accuracy(a.accuracy);
}

std::string WeakestText(const state::ProgressSummary& s) {
  if (s.weakest.empty()) return "none missed";
  std::string text;
  for (int16_t code : s.weakest) {
    if (!text.empty()) text += ", ";
    text += KeyName(code) + ": " + PercentText(*MissRate(s.keys[static_cast<std::size_t>(code)])) +
            " missed";
  }
  return text;
}

std::string DamagedText(int32_t lines) {
  if (lines == 0) return {};
  return "(" + std::to_string(lines) + (lines == 1 ? " damaged line" : " damaged lines") +
         " skipped)";
}

namespace {

std::string RecentLabel(const state::Averages& a) {
  return "Last " + std::to_string(a.rounds) + (a.rounds == 1 ? " round" : " rounds");
}

}  // namespace

namespace {

std::string BeforeLabel(const state::Averages& a) {
  return "The " + std::to_string(a.rounds) + " before";
}

}  // namespace

namespace {

// What --stats adds to a round: when it was played, with practice, and
// with which list when every list is shown.
std::string RoundNotes(const state::RoundRecord& r, const ListFilter& filter) {
  std::string notes = ", " + r.date + " " + r.time;
  if (filter.allLists) notes += ", list " + (r.list.empty() ? kFolderListText : r.list);
  if (r.practice) notes += ", practice";
  return notes;
}

}  // namespace

std::string SummaryText(const state::ProgressSummary& s, const std::string& myPath,
                        const ListFilter& filter) {
  const auto line = [](const std::string& label, const std::string& value) {
    std::string text = label + ":";
    text.resize(std::max<std::size_t>(text.size() + 1, 17), ' ');
    return text + value + "\n";
  };
  std::string out =
      line(filter.allLists ? "Word lists" : "Word list", filter.allLists       ? "all"
                                                         : filter.list.empty() ? kFolderListText
                                                                               : filter.list);
  const std::string damaged = s.damagedLines == 0 ? "" : " " + DamagedText(s.damagedLines);
  if (s.rounds == 0) {
    return out + "No finished round yet in " + myPath + kHistoryFileName + damaged + "\n";
  }
  out += line("Rounds played", std::to_string(s.rounds) + damaged);
  out += line("Best round", RoundText(*s.best) + RoundNotes(*s.best, filter));
  out += line("Last round", RoundText(*s.last) + RoundNotes(*s.last, filter));
  out += line(RecentLabel(s.recent), AveragesText(s.recent));
  if (s.before.rounds > 0) {
    out += line(BeforeLabel(s.before), AveragesText(s.before));
    out += line("Change", ChangeText(s.recent, s.before));
  }
  out +=
      line("Weakest keys", WeakestText(s) + " (last " + std::to_string(kKeyMapRounds) + " rounds)");
  return out;
}

}  // namespace stats
