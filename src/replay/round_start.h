// What a round needs to be played again from its own start: the state that Space left.
#pragma once

#include <optional>
#include <string>

#include "game/lifecycle.h"
#include "state/game_state.h"

namespace replay {

// The state at a round's start that the words, the ranking and the keys do
// not give, as a recording's comment line: "resume {...}" (the random
// numbers, the spawner's pacing field by field, the focus, the round clock;
// docs/formats.md has its members).
std::string ResumeNote(const state::GameState& g);

// The resume line of a recording's text, if it has one.
std::optional<std::string> NotedResume(const std::string& scriptText);

// Starts the round as Space starts it (game::StartRound) and puts a resume
// note's state into g, after start-up. Reads the notes of every version so
// far. False (g unchanged) when the note is not one this game reads.
bool ApplyResume(state::GameState& g, const std::string& note);

// How a recording's text is played again, as a game that writes nothing: the words, the
// ranking, the practice keys and the list its notes carry (the rest from the game folder).
// Its resume note, if any, is for the session's start (ApplyResume).
game::StartOptions RecordedStart(const std::string& scriptText, media::Language language);

}  // namespace replay
