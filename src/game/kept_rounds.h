// The best rounds kept in the game folder's replays/: their names, and the list of them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "state/choices.h"

namespace game {

// The folder of the game folder that keeps them.
constexpr const char* kReplaysFolder = "replays";

// The score of a kept round's file name, "best-<date>-<time>-<score>.script"
// (or "...-<score>-<n>.script" where two games kept a round in the same
// second with the same score); nothing for any other name.
std::optional<int64_t> ScoreOfReplayName(const std::string& name);

// The note a kept round carries of its word list: "list NAME" (NAME empty
// for the game folder's own list).
std::string ListNote(const std::string& listName);
// The list a recording's text notes; empty without such a note.
std::string NotedList(const std::string& scriptText);

// The kept rounds of the game folder myPath, the highest score first, with
// the date, time and word list of each.
std::vector<state::KeptRound> ListKeptRounds(const std::string& myPath);

}  // namespace game
