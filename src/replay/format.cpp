// The line that begins every recording and kept best round: its format and version.
#include "replay/format.h"

#include <algorithm>

namespace replay {
namespace {

constexpr std::string_view kMarker = "# rapiko recording";
// A version of this many digits or more is newer than any this game knows.
constexpr std::size_t kMaxVersionDigits = 9;

}  // namespace

std::string RecordingFormatLine() {
  return std::string(kMarker) + " " + std::to_string(kRecordingVersion);
}

std::optional<std::string> RecordingFormatProblem(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (!line.starts_with(kMarker)) return std::nullopt;
  std::string_view number = line.substr(kMarker.size());
  if (!number.empty() && number[0] != ' ') return std::nullopt;  // another word that starts alike
  if (!number.empty()) number.remove_prefix(1);
  const bool digits = !number.empty() && std::all_of(number.begin(), number.end(),
                                                     [](char c) { return c >= '0' && c <= '9'; });
  if (!digits) {
    return "'" + std::string(line) + "' is not a format line this game reads (" +
           RecordingFormatLine() + " is)";
  }
  number.remove_prefix(std::min(number.find_first_not_of('0'), number.size() - 1));
  if (number.size() < kMaxVersionDigits && std::stoi(std::string(number)) <= kRecordingVersion) {
    return std::nullopt;
  }
  return "recording format " + std::string(number) + " is newer than this game's (" +
         std::to_string(kRecordingVersion) + "): a newer version of Rapiko plays it";
}

}  // namespace replay
