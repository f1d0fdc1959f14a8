// The comment lines a recording carries besides its commands: files, practice keys, the round.
#include "replay/notes.h"

#include <cstdlib>
#include <sstream>

#include "replay/base64.h"
#include "stats/keys.h"
#include "storage/paths.h"

namespace replay {
namespace {

constexpr const char* kReplayFrom = "replay from round ";

// The rest of each line of text that starts with marker, line ends cut.
std::vector<std::string> LinesAfter(const std::string& text, const std::string& marker) {
  std::vector<std::string> found;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind(marker, 0) == 0) found.push_back(line.substr(marker.size()));
  }
  return found;
}

}  // namespace

std::vector<std::string> FileNotes(const std::string& name, const std::string& bytes) {
  // A whole number of 3-byte groups per line, so that each line decodes alone.
  constexpr std::size_t kBytesPerLine = 3 * 15 * 1024;
  std::vector<std::string> notes{"file " + name + " " + Base64(bytes.substr(0, kBytesPerLine))};
  for (std::size_t at = kBytesPerLine; at < bytes.size(); at += kBytesPerLine) {
    notes.push_back("file+ " + name + " " + Base64(bytes.substr(at, kBytesPerLine)));
  }
  return notes;
}

std::vector<std::pair<std::string, std::string>> NotedFiles(const std::string& scriptText) {
  std::vector<std::pair<std::string, std::string>> files;
  std::istringstream lines(scriptText);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const bool more = line.rfind("# file+ ", 0) == 0;
    if (!more && line.rfind("# file ", 0) != 0) continue;
    const std::string rest = line.substr(more ? 8 : 7);
    const size_t blank = rest.find(' ');
    if (blank == std::string::npos) continue;
    const std::string name = rest.substr(0, blank);
    // Only plain names: a recording never writes outside the folder it is played in.
    if (name.empty() || !storage::IsBareName(name) || name[0] == '.') continue;
    const std::string bytes = FromBase64(rest.substr(blank + 1));
    if (!more) {
      files.emplace_back(name, bytes);
    } else if (!files.empty() && files.back().first == name) {
      files.back().second += bytes;
    }
  }
  return files;
}

std::string PracticeNote(const std::vector<int16_t>& keys) {
  std::string text = "practice";
  for (int16_t key : keys) text += " " + stats::KeyName(key);
  return text;
}

std::optional<std::vector<int16_t>> NotedPracticeKeys(const std::string& scriptText) {
  for (const std::string& rest : LinesAfter(scriptText, "# practice")) {
    if (!rest.empty() && rest[0] != ' ') continue;  // another word that starts alike
    std::istringstream names(rest);
    std::vector<int16_t> keys;
    for (std::string name; names >> name;) {
      if (const auto key = stats::KeyCodeOfName(name)) keys.push_back(*key);
    }
    return keys;
  }
  return std::nullopt;
}

int RoundsToSkip(const std::string& scriptText) {
  const std::vector<std::string> found = LinesAfter(scriptText, std::string("# ") + kReplayFrom);
  if (found.empty()) return 0;
  const int round = std::atoi(found[0].c_str());
  return round > 1 ? round - 1 : 0;
}

}  // namespace replay
