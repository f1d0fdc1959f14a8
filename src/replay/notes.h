// The comment lines a recording carries besides its commands: files, practice keys, the round.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace replay {

// A file's bytes as comment lines of a recording, "# file NAME BASE64" and,
// for the rest of a long file, "# file+ NAME BASE64", and back: a recording
// carries the word list and the ranking it began with, so that it replays
// the same anywhere. The lines stay well below the script's line limit,
// whatever the file's size (only its first words are played, but a word
// file may be long).
std::vector<std::string> FileNotes(const std::string& name, const std::string& bytes);
// The files noted in a script's text, by name (plain names only).
std::vector<std::pair<std::string, std::string>> NotedFiles(const std::string& scriptText);

// A practice session's weak keys as a comment line, "# practice Q W P", and
// back (nothing when the script has no such line): its words depend on them.
std::string PracticeNote(const std::vector<int16_t>& keys);
std::optional<std::vector<int16_t>> NotedPracticeKeys(const std::string& scriptText);

// "# replay from round N" (in the best rounds that earlier versions kept,
// which hold the whole session): where a replay starts showing. The number
// of rounds to skip is N - 1; without such a line, 0.
int RoundsToSkip(const std::string& scriptText);

}  // namespace replay
