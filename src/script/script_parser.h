// The script of a headless run: one command per line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace script {

// A fault in the script: "script line N: what is wrong".
class ScriptError : public std::runtime_error {
 public:
  ScriptError(int64_t line, const std::string& what)
      : std::runtime_error("script line " + std::to_string(line) + ": " + what) {}
};

struct Command {
  enum class Kind {
    Start,
    Down,
    Up,
    Press,
    Type,
    Click,
    FocusOut,
    FocusIn,
    Tick,
    State,
    Frame,
    Checksum,
    Screenshot
  };
  Kind kind = Kind::State;
  int64_t line = 0;
  uint32_t startTick = 0;     // start
  std::vector<int32_t> keys;  // down, up, press, type (in order)
  uint32_t ms = 0;            // tick
  uint32_t passes = 1;        // tick
  std::string path;           // screenshot
};

// Parses one line (without its line end). Returns nothing for a blank or
// comment line; throws ScriptError for a bad one, and for a first line that
// names a recording format newer than this game's (replay/format.h).
std::optional<Command> ParseLine(const std::string& text, int64_t line);

// Hands out the commands of a stream one at a time, numbering the lines.
class ScriptReader {
 public:
  // The longest line a script may have, its line end not counted.
  static constexpr std::size_t kMaxLineBytes = 65536;

  explicit ScriptReader(std::istream& in) : in_(in) {}
  // The next command, or nothing at the end of the script. A line longer
  // than kMaxLineBytes is a ScriptError.
  std::optional<Command> Next();

 private:
  // The next line without its line end; false at the end of the stream.
  bool ReadLine(std::string& text);

  std::istream& in_;
  int64_t line_ = 0;
};

}  // namespace script
