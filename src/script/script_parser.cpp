// Parsing the commands of a headless run's script.
#include "script/script_parser.h"

#include <limits>

#include "media/us_keyboard.h"
#include "replay/format.h"
#include "state/game_state.h"

namespace script {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string> SplitWords(const std::string& text) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    const size_t start = i;
    while (i < text.size() && !IsBlank(text[i])) ++i;
    if (i > start) words.push_back(text.substr(start, i - start));
  }
  return words;
}

uint64_t ParseNumber(const std::string& word, uint64_t low, uint64_t high, const char* what,
                     int64_t line) {
  const std::string range = " (" + std::to_string(low) + " to " + std::to_string(high) + ")";
  if (word.empty() || word.size() > 20) {
    throw ScriptError(line, std::string("bad ") + what + " '" + word + "'" + range);
  }
  uint64_t value = 0;
  for (char c : word) {
    if (c < '0' || c > '9') {
      throw ScriptError(line, std::string("bad ") + what + " '" + word + "': not a decimal number");
    }
    const uint64_t digit = static_cast<uint64_t>(c - '0');
    if (value > (std::numeric_limits<uint64_t>::max() - digit) / 10) {
      throw ScriptError(line, std::string(what) + " " + word + " out of range" + range);
    }
    value = value * 10 + digit;
  }
  if (value < low || value > high) {
    throw ScriptError(line, std::string(what) + " " + word + " out of range" + range);
  }
  return value;
}

// A key code of the game's keyboard: 1 to 255.
int32_t ParseKeyCode(const std::string& word, int64_t line) {
  return static_cast<int32_t>(ParseNumber(word, 1, 255, "key code", line));
}

void ExpectArgs(const std::vector<std::string>& words, size_t low, size_t high, int64_t line) {
  const size_t args = words.size() - 1;
  if (args < low || args > high) {
    std::string want =
        low == high ? std::to_string(low) : std::to_string(low) + " or " + std::to_string(high);
    throw ScriptError(line, "'" + words[0] + "' takes " + want + " argument" +
                                (high == 1 && low == 1 ? "" : "s") + ", got " +
                                std::to_string(args));
  }
}

}  // namespace

namespace {

int32_t KeyCodeForScriptChar(char c) {
  if (c == ' ') return state::kKeySpace;
  // The main keys from 1 to =, Q to ], A to ` and Z to the full stop.
  if (c == '\\' || c == '/') return 0;
  return media::Set1FromUsCharacter(static_cast<unsigned char>(c));
}

}  // namespace

std::optional<Command> ParseLine(const std::string& raw, int64_t line) {
  std::string text = raw;
  if (!text.empty() && text.back() == '\r') text.pop_back();
  // A recording of a newer version may hold what this game would misread.
  if (line == 1) {
    if (const auto problem = replay::RecordingFormatProblem(text))
      throw ScriptError(line, *problem);
  }
  const std::vector<std::string> words = SplitWords(text);
  if (words.empty() || words[0][0] == '#') return std::nullopt;

  Command cmd;
  cmd.line = line;
  const std::string& name = words[0];
  if (name == "start") {
    ExpectArgs(words, 1, 1, line);
    cmd.kind = Command::Kind::Start;
    cmd.startTick =
        static_cast<uint32_t>(ParseNumber(words[1], 0, 4294967295ULL, "tick count", line));
  } else if (name == "down" || name == "up") {
    ExpectArgs(words, 1, 1, line);
    cmd.kind = name == "down" ? Command::Kind::Down : Command::Kind::Up;
    cmd.keys.push_back(ParseKeyCode(words[1], line));
  } else if (name == "press") {
    if (words.size() < 2) throw ScriptError(line, "'press' needs at least one key code");
    cmd.kind = Command::Kind::Press;
    for (size_t i = 1; i < words.size(); ++i) {
      cmd.keys.push_back(ParseKeyCode(words[i], line));
    }
  } else if (name == "type") {
    cmd.kind = Command::Kind::Type;
    // TEXT is the rest of the line after the one blank that follows "type".
    const size_t at = text.find("type");
    const size_t begin = at + 4 < text.size() ? at + 5 : text.size();
    if (at + 4 < text.size() && !IsBlank(text[at + 4])) {
      throw ScriptError(line, "unknown command '" + name + "'");
    }
    for (size_t i = begin; i < text.size(); ++i) {
      const int32_t code = KeyCodeForScriptChar(text[i]);
      if (code == 0) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        const std::string shown = byte >= 0x20 && byte < 0x7F ? std::string("'") + text[i] + "'"
                                                              : "byte " + std::to_string(byte);
        throw ScriptError(line, "'type' cannot type " + shown);
      }
      cmd.keys.push_back(code);
    }
  } else if (name == "click") {
    ExpectArgs(words, 0, 0, line);
    cmd.kind = Command::Kind::Click;
  } else if (name == "focus") {
    ExpectArgs(words, 1, 1, line);
    if (words[1] != "in" && words[1] != "out") {
      throw ScriptError(line, "'focus' takes 'in' or 'out', not '" + words[1] + "'");
    }
    cmd.kind = words[1] == "in" ? Command::Kind::FocusIn : Command::Kind::FocusOut;
  } else if (name == "tick") {
    ExpectArgs(words, 1, 2, line);
    cmd.kind = Command::Kind::Tick;
    cmd.ms = static_cast<uint32_t>(ParseNumber(words[1], 0, 2147483647ULL, "milliseconds", line));
    if (words.size() == 3) {
      cmd.passes =
          static_cast<uint32_t>(ParseNumber(words[2], 0, 2147483647ULL, "pass count", line));
    }
  } else if (name == "state" || name == "frame" || name == "checksum") {
    ExpectArgs(words, 0, 0, line);
    cmd.kind = name == "state"   ? Command::Kind::State
               : name == "frame" ? Command::Kind::Frame
                                 : Command::Kind::Checksum;
  } else if (name == "screenshot") {
    if (words.size() < 2) throw ScriptError(line, "'screenshot' needs a file name");
    cmd.kind = Command::Kind::Screenshot;
    // The file name is the rest of the line, so it may hold blanks.
    const size_t at = text.find("screenshot") + 10;
    size_t b = at;
    while (b < text.size() && IsBlank(text[b])) ++b;
    size_t e = text.size();
    while (e > b && IsBlank(text[e - 1])) --e;
    cmd.path = text.substr(b, e - b);
  } else {
    throw ScriptError(line, "unknown command '" + name + "'");
  }
  return cmd;
}

bool ScriptReader::ReadLine(std::string& text) {
  text.clear();
  for (char c; in_.get(c);) {
    if (c == '\n') return true;
    // A line is never kept whole past the limit: memory stays small whatever comes.
    if (text.size() == kMaxLineBytes) {
      throw ScriptError(line_, "longer than " + std::to_string(kMaxLineBytes) + " bytes");
    }
    text += c;
  }
  if (in_.bad()) throw ScriptError(line_, "cannot read the script");
  return !text.empty();
}

std::optional<Command> ScriptReader::Next() {
  std::string text;
  for (;;) {
    ++line_;
    if (!ReadLine(text)) {
      --line_;
      return std::nullopt;
    }
    if (auto cmd = ParseLine(text, line_)) return cmd;
  }
}

}  // namespace script
