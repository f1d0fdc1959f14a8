// Appending finished rounds to the history, and reading the weak keys for practice.
#include "stats/recording.h"

#include <ctime>

#include "stats/history_file.h"
#include "stats/summary.h"

namespace stats {
namespace {

// The local date and time now, as the history writes them.
void Stamp(state::RoundRecord& r) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char date[16];
  char time[16];
  std::strftime(date, sizeof date, "%Y-%m-%d", &local);
  std::strftime(time, sizeof time, "%H:%M:%S", &local);
  r.date = date;
  r.time = time;
}

}  // namespace

void KeepHistory(state::GameState& g, const std::string& myPath) {
  g.progress.keepHistory = true;
  g.progress.folder = myPath;
}

void FinishRound(state::GameState& g) {
  state::RoundRecord r;
  Stamp(r);
  r.score = g.score;
  r.level = g.level;
  r.maxLevel = g.maxLevel;
  r.counts = g.progress.round;
  g.progress.unsavedRounds.push_back(std::move(r));
}

void SaveFinishedRounds(state::GameState& g, const std::string& myPath) {
  AppendRounds(myPath, g.progress.unsavedRounds);
  g.progress.unsavedRounds.clear();
}

void LoadPracticeKeys(state::GameState& g) {
  g.progress.practiceKeys = ReadSummary(g.progress.folder).weakest;
}

}  // namespace stats
