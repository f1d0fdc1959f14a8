// The recording of each session's best round, kept in the game folder's replays/.
#include "replay/best_rounds.h"

#include <algorithm>
#include <cerrno>
#include <iostream>
#include <vector>

#include "ranking/ranking_file.h"
#include "replay/format.h"
#include "replay/notes.h"
#include "replay/round_start.h"
#include "storage/clock.h"
#include "storage/errors.h"
#include "storage/folder_lock.h"
#include "storage/folders.h"
#include "storage/read.h"
#include "storage/temporary.h"
#include "storage/write.h"
#include "typing/word_data.h"

namespace replay {
namespace {

// What games killed while keeping a round left: temporaries of the write
// that replaces a file, and those of older versions (".best-" and twelve
// letters or digits).
bool IsLeftOver(const std::string& name) {
  if (storage::IsTemporaryName(name)) return true;
  return name.size() == 6 + storage::kRandomNameLength && name.rfind(".best-", 0) == 0;
}

// Keeps the kKeptReplays highest scores (the newest first among equals).
void Prune(const std::string& folder) {
  std::vector<std::pair<int64_t, std::string>> kept;
  for (const std::string& name : storage::ListFolder(folder)) {
    if (const auto score = game::ScoreOfReplayName(name)) kept.emplace_back(*score, name);
  }
  std::sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first > b.first : a.second > b.second;
  });
  for (size_t i = kKeptReplays; i < kept.size(); ++i) {
    storage::RemoveFile(folder + "/" + kept[i].second);
  }
}

}  // namespace

BestRounds::BestRounds(std::string myPath, Recording& recording)
    : myPath_(std::move(myPath)), recording_(recording) {
  recording.AddSink(this);
  const std::string folder = myPath_ + game::kReplaysFolder;
  // Never through a link planted at the folder's name.
  if (!storage::IsOwnFolder(folder)) return;
  try {
    storage::FolderLock lock(myPath_);
    for (const std::string& name : storage::ListFolder(folder)) {
      if (IsLeftOver(name)) storage::RemoveFile(folder + "/" + name);
    }
  } catch (const storage::LockError&) {
    // Left for the next start; nothing of the player's is at stake.
  }
}

void BestRounds::Line(const std::string& line) {
  if (!capturing_) return;
  round_ += line + '\n';
  if (round_.size() > kMaxRoundBytes) {
    capturing_ = false;
    round_.clear();
  }
}

void BestRounds::RoundStarted(const state::GameState& g, int, uint32_t tick) {
  // What the round began with, so that it replays from its own start.
  round_ = RecordingFormatLine() + "\n";
  const storage::FileRead words =
      storage::ReadWholeFile(g.choices.wordFile, typing::kMaxWordFileBytes);
  const auto note = [this](const std::string& name, const std::string& bytes) {
    for (const std::string& line : FileNotes(name, bytes)) round_ += "# " + line + "\n";
  };
  if (words.complete) note(typing::kWordFileName, words.bytes);
  round_ += "# " + game::ListNote(g.choices.listName) + "\n";
  note(ranking::kRankingFileName, ranking::RankingFileBytes(g));
  if (!g.progress.practiceKeys.empty()) {
    round_ += "# " + PracticeNote(g.progress.practiceKeys) + "\n";
  }
  round_ += "# " + ResumeNote(g) + "\n";
  round_ += "start " + std::to_string(tick) + "\n";
  capturing_ = true;
}

void BestRounds::RoundEnded(const state::GameState&, int, int32_t score) {
  if (!capturing_) return;
  capturing_ = false;
  if (score > best_) {
    best_ = score;
    const std::string pending = recording_.PendingLine();
    Keep(round_ + (pending.empty() ? "" : pending + "\n"), score);
  }
  round_.clear();
}

void BestRounds::Keep(const std::string& text, int32_t score) {
  const std::string folder = myPath_ + game::kReplaysFolder;
  const std::string stem =
      folder + "/best-" + storage::LocalNow().compact + "-" + std::to_string(score);
  try {
    // Other games of the folder keep their best rounds here too: under the
    // lock, a name no other file has is this game's alone.
    storage::FolderLock lock(myPath_);
    int error = storage::MakeFolder(folder);
    std::string file = stem + ".script";
    for (int n = 2; error == 0 && storage::Exists(file) && file != file_ && n < 10000; ++n) {
      file = stem + "-" + std::to_string(n) + ".script";
    }
    if (error == 0) error = storage::ReplaceFile(file, text).Failure();
    if (error != 0) {
      Warn("cannot keep the best round in " + folder + ": " +
           (error == ENOTDIR ? "not a folder of the game's own (a link?)"
                             : storage::ErrorText(error)));
      return;
    }
    if (!file_.empty() && file_ != file) storage::RemoveFile(file_);
    file_ = file;
    Prune(folder);
  } catch (const storage::LockError& e) {
    Warn(e.what());
  }
}

void BestRounds::Warn(const std::string& line) {
  if (!warned_) std::cerr << "rapiko: " << line << '\n';
  warned_ = true;
}

}  // namespace replay
