// The best rounds kept in the game folder's replays/: their names, and the list of them.
#include "game/kept_rounds.h"

#include <algorithm>

#include "storage/folders.h"
#include "storage/read.h"

namespace game {
namespace {

constexpr const char* kListMarker = "# list ";
// A kept round's notes come first; the list's is among them.
constexpr std::size_t kHeadBytes = 64 * 1024;

bool AllDigits(const std::string& s, std::size_t min, std::size_t max) {
  return s.size() >= min && s.size() <= max &&
         std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// best-DATE-TIME-SCORE[-N]: the parts between the dashes, or nothing.
std::optional<std::vector<std::string>> PartsOf(const std::string& name) {
  const std::string suffix = ".script";
  if (name.rfind("best-", 0) != 0 || name.size() <= suffix.size() + 5 ||
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
    return std::nullopt;
  }
  std::vector<std::string> parts;
  const std::string stem = name.substr(5, name.size() - 5 - suffix.size());
  for (std::size_t at = 0;;) {
    const std::size_t dash = stem.find('-', at);
    parts.push_back(stem.substr(at, dash - at));
    if (dash == std::string::npos) break;
    at = dash + 1;
  }
  if ((parts.size() != 3 && parts.size() != 4) || !AllDigits(parts[0], 8, 8) ||
      !AllDigits(parts[1], 6, 6) || !AllDigits(parts[2], 1, 10) ||
      (parts.size() == 4 && !AllDigits(parts[3], 1, 4))) {
    return std::nullopt;
  }
  return parts;
}

}  // namespace

std::optional<int64_t> ScoreOfReplayName(const std::string& name) {
  const auto parts = PartsOf(name);
  if (!parts) return std::nullopt;
  return std::stoll((*parts)[2]);
}

std::string ListNote(const std::string& listName) {
  return std::string(kListMarker + 2) + listName;
}

std::string NotedList(const std::string& scriptText) {
  const std::string marker = std::string("\n") + kListMarker;
  const std::size_t at = ("\n" + scriptText).find(marker);
  if (at == std::string::npos) return "";
  const std::size_t from = at + marker.size() - 1;
  std::string name = scriptText.substr(from, scriptText.find('\n', from) - from);
  if (!name.empty() && name.back() == '\r') name.pop_back();
  return name;
}

std::vector<state::KeptRound> ListKeptRounds(const std::string& myPath) {
  std::vector<state::KeptRound> rounds;
  const std::string folder = myPath + kReplaysFolder;
  for (const std::string& name : storage::ListFolder(folder)) {
    const auto parts = PartsOf(name);
    if (!parts) continue;
    const std::string& d = (*parts)[0];
    const std::string& t = (*parts)[1];
    state::KeptRound round{folder + "/" + name,
                           d.substr(0, 4) + "-" + d.substr(4, 2) + "-" + d.substr(6, 2) + " " +
                               t.substr(0, 2) + ":" + t.substr(2, 2),
                           std::stoll((*parts)[2]), ""};
    round.list = NotedList(storage::ReadWholeFile(round.file, kHeadBytes).bytes);
    rounds.push_back(round);
  }
  std::sort(rounds.begin(), rounds.end(), [](const auto& a, const auto& b) {
    return a.score != b.score ? a.score > b.score : a.file > b.file;
  });
  return rounds;
}

}  // namespace game
