// Appending finished rounds to the history, and reading the weak keys for practice.
#include "stats/round_history.h"

#include "stats/history_file.h"
#include "stats/summary.h"
#include "storage/clock.h"

namespace stats {

void KeepHistory(state::GameState& g, const std::string& myPath) {
  g.progress.keepHistory = true;
  g.progress.folder = myPath;
}

void FinishRound(state::GameState& g) {
  state::RoundRecord r;
  const storage::LocalStamp now = storage::LocalNow();
  r.date = now.date;
  r.time = now.time;
  r.score = g.score;
  r.level = g.level;
  r.maxLevel = g.maxLevel;
  r.counts = g.progress.round;
  r.list = g.choices.listName;
  r.listId = g.choices.listId;
  r.practice = g.choices.practice;
  g.progress.unsavedRounds.push_back(std::move(r));
}

void SaveFinishedRounds(state::GameState& g, const std::string& myPath) {
  AppendRounds(myPath, g.progress.unsavedRounds);
  g.progress.unsavedRounds.clear();
}

void LoadPracticeKeys(state::GameState& g) {
  g.progress.practiceKeys =
      ReadSummary(g.progress.folder, ListFilter::Of(g.choices.listName, g.choices.listId)).weakest;
}

}  // namespace stats
