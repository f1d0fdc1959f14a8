// The recording of each session's best round, kept in the game folder's replays/.
#include "replay/best_rounds.h"

#include <algorithm>
#include <iostream>
#include <vector>

#include "replay/notes.h"
#include "storage/clock.h"
#include "storage/errors.h"
#include "storage/folder_lock.h"
#include "storage/folders.h"
#include "storage/write.h"

namespace replay {
namespace {

// The score in "best-<date>-<score>.script", or -1 for another name.
int64_t ScoreOf(const std::string& name) {
  const std::string suffix = ".script";
  if (name.rfind("best-", 0) != 0 || name.size() <= suffix.size() ||
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
    return -1;
  }
  const std::string stem = name.substr(0, name.size() - suffix.size());
  const std::string digits = stem.substr(stem.rfind('-') + 1);
  if (digits.empty() || digits.size() > 10 ||
      digits.find_first_not_of("0123456789") != std::string::npos) {
    return -1;
  }
  return std::stoll(digits);
}

// Keeps the kKeptReplays highest scores (the newest first among equals).
void Prune(const std::string& folder) {
  std::vector<std::pair<int64_t, std::string>> kept;
  for (const std::string& name : storage::ListFolder(folder)) {
    if (const int64_t score = ScoreOf(name); score >= 0) kept.emplace_back(score, name);
  }
  std::sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first > b.first : a.second > b.second;
  });
  for (size_t i = kKeptReplays; i < kept.size(); ++i) {
    storage::RemoveFile(folder + "/" + kept[i].second);
  }
}

}  // namespace

BestRounds::BestRounds(std::string myPath, const Recording& recording)
    : myPath_(std::move(myPath)), recording_(recording) {}

void BestRounds::RoundEnded(int round, int32_t score) {
  if (score <= best_) return;
  best_ = score;
  const std::string folder = myPath_ + kReplaysFolder;
  const std::string file =
      folder + "/best-" + storage::LocalNow().compact + "-" + std::to_string(score) + ".script";
  const std::string text = "# " + ReplayFromNote(round) + "\n" + recording_.Text();
  const auto warn = [this](const std::string& line) {
    if (!warned_) std::cerr << "rapiko: " << line << '\n';
    warned_ = true;
  };
  try {
    // Other games of the folder keep their best rounds here too.
    storage::FolderLock lock(myPath_);
    int error = storage::MakeFolder(folder);
    if (error == 0) {
      const storage::WriteResult written = storage::ReplaceFile(file, text);
      error = written.step == storage::WriteResult::Step::kFolderSync ? 0 : written.error;
    }
    if (error != 0) {
      warn("cannot keep the best round in " + folder + ": " + storage::ErrorText(error));
      return;
    }
    if (!file_.empty() && file_ != file) storage::RemoveFile(file_);
    file_ = file;
    Prune(folder);
  } catch (const storage::LockError& e) {
    warn(e.what());
  }
}

}  // namespace replay
