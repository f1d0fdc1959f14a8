// The recording of each session's best round, kept in the game folder's replays/.
#include "script/best_rounds.h"

#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <vector>

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

}  // namespace

BestRounds::BestRounds(std::string myPath, const Recording& recording)
    : myPath_(std::move(myPath)), recording_(recording) {}

void BestRounds::RoundEnded(int round, int32_t score) {
  if (score <= best_) return;
  best_ = score;
  const fs::path folder = fs::path(myPath_) / "replays";
  const fs::path file = folder / ("best-" + LocalStamp() + "-" + std::to_string(score) + ".script");
  const fs::path temp = folder / (".best-" + std::to_string(::getpid()) + ".tmp");
  std::error_code ec;
  fs::create_directories(folder, ec);
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << "# replay from round " << round << "\n" << recording_.Text();
    out.close();
    if (!out || (fs::rename(temp, file, ec), ec)) {
      fs::remove(temp, ec);
      if (!warned_)
        std::cerr << "rapiko: cannot keep the best round in " << folder.string() << '\n';
      warned_ = true;
      return;
    }
  }
  if (!file_.empty() && file_ != file.string()) fs::remove(file_, ec);
  file_ = file.string();
  Prune(folder);
}

}  // namespace script
