// What a round needs to be played again from its own start: the state that Space left.
#include "replay/round_start.h"

#include <nlohmann/json.hpp>
#include <sstream>

#include "game/title.h"

namespace replay {
namespace {

using json = nlohmann::json;
constexpr const char* kMarker = "# resume ";

}  // namespace

std::string ResumeNote(const state::GameState& g) {
  const state::Pacing& p = g.pacing;
  const json note = {
      {"rng", g.rng.State()},
      {"pacing",
       {p.shotStepX, p.shotStepY, p.spawnClock, p.fpsValue, p.fpsFrames, p.fpsClock, p.letterPos,
        p.wordIndex, p.wordX, p.wordVx}},
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
    const json& p = j.at("pacing");
    state::Pacing pacing{p.at(0).get<double>(),  p.at(1).get<double>(),  p.at(2).get<int32_t>(),
                         p.at(3).get<double>(),  p.at(4).get<double>(),  p.at(5).get<int32_t>(),
                         p.at(6).get<int16_t>(), p.at(7).get<int16_t>(), p.at(8).get<int16_t>(),
                         p.at(9).get<int16_t>()};
    const bool hasFocus = j.at("hasFocus").get<bool>();
    const int32_t roundTime = j.at("roundTime").get<int32_t>();
    // As Space starts a round on the title screen.
    game::ResetRound(g);
    g.gameMode = state::kModePlaying;
    g.sndStart->Play();
    g.rng.SetState(rng);
    g.pacing = pacing;
    g.hasFocus = hasFocus;
    g.roundTime = roundTime;
    return true;
  } catch (const json::exception&) {
    return false;
  }
}

}  // namespace replay
