// What a round needs to be played again from its own start: the state that Space left.
#include "replay/round_start.h"

#include <nlohmann/json.hpp>
#include <sstream>
#include <type_traits>

#include "game/kept_rounds.h"
#include "game/title.h"
#include "ranking/ranking_file.h"
#include "replay/notes.h"
#include "typing/word_data.h"

namespace replay {
namespace {

using json = nlohmann::ordered_json;
constexpr const char* kMarker = "# resume ";

// The pacing a note holds: by name (version 1), or by position in the
// record's order (version 0). Throws json::exception for a field that is
// missing or of another type.
state::Pacing PacingOf(const json& p) {
  state::Pacing pacing;
  std::size_t at = 0;
  state::ForEachPacingField(pacing, [&p, &at](const char* name, auto& field) {
    const json& value = p.is_array() ? p.at(at++) : p.at(name);
    field = value.get<std::remove_reference_t<decltype(field)>>();
  });
  return pacing;
}

}  // namespace

std::string ResumeNote(const state::GameState& g) {
  json pacing = json::object();
  state::ForEachPacingField(g.pacing,
                            [&pacing](const char* name, auto value) { pacing[name] = value; });
  const json note = {
      {"rng", g.rng.State()},
      {"pacing", pacing},
      {"hasFocus", g.hasFocus},
      {"roundTime", g.roundTime},
  };
  return std::string(kMarker + 2) + note.dump();
}

std::optional<std::string> NotedResume(const std::string& scriptText) {
  std::istringstream lines(scriptText);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(kMarker, 0) == 0) return line.substr(2);
  }
  return std::nullopt;
}

bool ApplyResume(state::GameState& g, const std::string& note) {
  const std::string prefix = kMarker + 2;
  if (note.rfind(prefix, 0) != 0) return false;
  const json j = json::parse(note.substr(prefix.size()), nullptr, false);
  try {
    const auto rng = j.at("rng").get<std::array<uint64_t, 4>>();
    const state::Pacing pacing = PacingOf(j.at("pacing"));
    const bool hasFocus = j.at("hasFocus").get<bool>();
    const int32_t roundTime = j.at("roundTime").get<int32_t>();
    // A played round starts from the title, whose drawing leaves the
    // colours its status box is drawn in.
    game::DrawTitleScreen(g);
    game::StartRound(g);
    g.rng.SetState(rng);
    g.pacing = pacing;
    g.hasFocus = hasFocus;
    g.roundTime = roundTime;
    return true;
  } catch (const json::exception&) {
    return false;
  }
}

game::StartOptions RecordedStart(const std::string& scriptText, media::Language language) {
  game::StartOptions options{.practiceKeys = NotedPracticeKeys(scriptText), .readOnly = true};
  options.choices.language = language;
  options.choices.listName = game::NotedList(scriptText);
  for (const auto& [name, bytes] : NotedFiles(scriptText)) {
    if (name == typing::kWordFileName) options.wordBytes = bytes;
    if (name == ranking::kRankingFileName) options.rankingBytes = bytes;
  }
  return options;
}

}  // namespace replay
