// A round of an online board fetched to be watched: its start and recording, as a kept round.
#include "online/watched_round.h"

#include <nlohmann/json.hpp>
#include <sstream>

#include "game/kept_rounds.h"
#include "net/address.h"
#include "net/http.h"
#include "online/protocol.h"
#include "replay/format.h"
#include "replay/notes.h"
#include "replay/ticket_start.h"
#include "typing/word_data.h"

namespace online {
namespace {

using json = nlohmann::ordered_json;

// The start the server gives of a round: its list, its ticket's seed and the words played.
struct Start {
  std::string list;
  uint32_t seed = 0;
  std::vector<std::string> words;
};

std::optional<Start> ReadStart(const std::string& body) {
  const json j = json::parse(body, nullptr, false);
  try {
    Start s{j.at("list").get<std::string>(), j.at("seed").get<uint32_t>(),
            j.at("words").get<std::vector<std::string>>()};
    if (s.words.empty()) return std::nullopt;
    return s;
  } catch (const json::exception&) {
    return std::nullopt;
  }
}

}  // namespace

Watched FetchWatched(const std::string& url, int64_t round) {
  Watched watched;
  watched.round = round;
  const std::string path = std::string(kRoundsPath) + "/" + std::to_string(round);
  const net::Reply start = net::GetJson(net::Endpoint(url, path), kWatchTimeoutMs);
  watched.status = start.status;
  const std::optional<Start> s = start.status == 200 ? ReadStart(start.body) : std::nullopt;
  if (!s) {
    watched.error = ErrorOf(start);
    return watched;
  }
  const net::Reply recording =
      net::GetJson(net::Endpoint(url, path + "/recording"), kWatchTimeoutMs);
  if (recording.status != 0) watched.status = recording.status;
  if (recording.status != 200) {
    watched.error = ErrorOf(recording);
    return watched;
  }
  watched.text = WatchedText(s->list, s->seed, replay::TicketWordText(s->words), recording.body);
  return watched;
}

std::string WatchedText(const std::string& list, uint32_t seed, const std::string& words,
                        const std::string& recording) {
  std::istringstream lines(recording);
  std::string line;
  std::string text;
  // The format line stays: a newer recording is refused as a newer kept round is.
  if (std::getline(lines, line) && line.rfind("# rapiko recording", 0) == 0) {
    text = line + '\n';
    line.clear();
  } else {
    text = replay::RecordingFormatLine() + '\n';
  }
  for (const std::string& note : replay::FileNotes(typing::kWordFileName, words)) {
    text += "# " + note + '\n';
  }
  text += "# " + game::ListNote(list == kDefaultListName ? "" : list) + '\n';
  text += "# " + replay::TicketResumeNote(seed) + '\n';
  // The sender's notes are not this round's: only its commands are kept.
  do {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t first = line.find_first_not_of(" \t");
    if (first != std::string::npos && line[first] != '#') text += line + '\n';
  } while (std::getline(lines, line));
  return text;
}

std::string WatchedLine(const Watched& w) {
  json line = json::object();
  if (w.status != 0) line["status"] = w.status;
  line["round"] = w.round;
  if (w.score) line["score"] = *w.score;
  if (w.level) line["level"] = *w.level;
  if (!w.error.empty()) line["error"] = w.error;
  return json{{"watched", line}}.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace online
