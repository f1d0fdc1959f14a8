// The recording of each session's best round, kept in the game folder's replays/.
#include "script/best_rounds.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <vector>

#include "media/files.h"
#include "ranking/folder_lock.h"

namespace script {
namespace {

namespace fs = std::filesystem;

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

std::string LocalStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

// Keeps the kKeptReplays highest scores (the newest first among equals).
void Prune(const fs::path& folder) {
  std::vector<std::pair<int64_t, std::string>> kept;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (const int64_t score = ScoreOf(name); score >= 0) kept.emplace_back(score, name);
  }
  std::sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first > b.first : a.second > b.second;
  });
  for (size_t i = kKeptReplays; i < kept.size(); ++i) fs::remove(folder / kept[i].second, ec);
}

// Writes text as file in folder, made if need be: through a new file of an
// unguessable name, renamed into place, so a link or file planted in the
// folder is never written through. False with errno set on failure.
bool Keep(const fs::path& folder, const fs::path& file, const std::string& text) {
  if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) return false;
  struct stat info {};
  if (::lstat(folder.c_str(), &info) != 0) return false;
  if (!S_ISDIR(info.st_mode)) {
    errno = ENOTDIR;  // a link or a file where the folder should be
    return false;
  }
  std::string temp;
  const int fd = media::CreateNewFile((folder / ".best-").string(), 0644, temp);
  if (fd < 0) return false;
  const bool written = media::WriteAll(fd, text);
  const int error = errno;
  if (::close(fd) != 0 || !written || ::rename(temp.c_str(), file.c_str()) != 0) {
    const int failure = written ? errno : error;
    ::unlink(temp.c_str());
    errno = failure;
    return false;
  }
  return true;
}

}  // namespace

BestRounds::BestRounds(std::string myPath, const Recording& recording)
    : myPath_(std::move(myPath)), recording_(recording) {}

void BestRounds::RoundEnded(int round, int32_t score) {
  if (score <= best_) return;
  best_ = score;
  const fs::path folder = fs::path(myPath_) / "replays";
  const fs::path file = folder / ("best-" + LocalStamp() + "-" + std::to_string(score) + ".script");
  const std::string text =
      "# replay from round " + std::to_string(round) + "\n" + recording_.Text();
  try {
    // Other games of the folder keep their best rounds here too.
    ranking::FolderLock lock(myPath_);
    if (!Keep(folder, file, text)) {
      if (!warned_) {
        std::cerr << "rapiko: cannot keep the best round in " << folder.string() << ": "
                  << std::strerror(errno) << '\n';
      }
      warned_ = true;
      return;
    }
    std::error_code ec;
    if (!file_.empty() && file_ != file.string()) fs::remove(file_, ec);
    file_ = file.string();
    Prune(folder);
  } catch (const ranking::LockError& e) {
    if (!warned_) std::cerr << "rapiko: " << e.what() << '\n';
    warned_ = true;
  }
}

}  // namespace script
