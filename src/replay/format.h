// The line that begins every recording and kept best round: its format and version.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace replay {

// The version of the recordings this game writes; it plays this one and
// every older one (docs/formats.md has what each holds).
//   0: the recordings of earlier versions, which have no format line;
//   1: the format line; a kept round's resume note names its fields.
constexpr int kRecordingVersion = 1;

// "# rapiko recording 1": the first line of every recording this game
// writes. A comment, so that a recording stays a script that any version
// of the game runs.
std::string RecordingFormatLine();

// What keeps this game from playing a script whose first line is firstLine
// (its line end cut or not): nothing for a line that is no format line (a
// plain script, or a recording of version 0) or names this version or an
// older one; else one line saying why, for a newer version or a format line
// this game cannot read.
std::optional<std::string> RecordingFormatProblem(std::string_view firstLine);

}  // namespace replay
