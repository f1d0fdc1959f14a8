// Fuzz target: the headless script parser, line by line and through the stream reader.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "script/script_parser.h"

namespace {

[[noreturn]] void Broken(const char* what, int64_t line) {
  std::fprintf(stderr, "script parser broken: %s (line %lld)\n", what,
               static_cast<long long>(line));
  std::abort();
}

// A line's outcome: a command, nothing (blank or comment), or an error message.
struct Outcome {
  std::optional<script::Command> command;
  std::string error;
};

Outcome Parse(const std::string& text, int64_t line) {
  Outcome out;
  try {
    out.command = script::ParseLine(text, line);
  } catch (const script::ScriptError& e) {
    out.error = e.what();
    const std::string prefix = "script line " + std::to_string(line) + ": ";
    if (out.error.rfind(prefix, 0) != 0 || out.error.size() == prefix.size()) {
      Broken("error message without its line", line);
    }
  }
  return out;
}

void CheckCommand(const script::Command& c, int64_t line) {
  using Kind = script::Command::Kind;
  if (c.line != line) Broken("command carries another line number", line);
  switch (c.kind) {
    case Kind::Down:
    case Kind::Up:
      if (c.keys.size() != 1) Broken("down/up without exactly one key", line);
      [[fallthrough]];
    case Kind::Press:
      if (c.keys.empty() && c.kind == Kind::Press) Broken("press without keys", line);
      for (int32_t k : c.keys) {
        if (k < 1 || k > 255) Broken("key code out of range", line);
      }
      break;
    case Kind::Type:
      for (int32_t k : c.keys) {
        if (k < 1 || k > 255) Broken("typed key code out of range", line);
      }
      break;
    case Kind::Tick:
      if (c.ms > 2147483647u || c.passes > 2147483647u) Broken("tick out of range", line);
      break;
    case Kind::Screenshot:
      if (c.path.empty()) Broken("screenshot without a file name", line);
      break;
    default:
      break;
  }
}

bool Same(const script::Command& a, const script::Command& b) {
  return a.kind == b.kind && a.line == b.line && a.startTick == b.startTick && a.keys == b.keys &&
         a.ms == b.ms && a.passes == b.passes && a.path == b.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);

  // Every line on its own, as the reader numbers them.
  std::vector<Outcome> lines;
  {
    std::istringstream in(input);
    std::string text;
    int64_t line = 0;
    while (std::getline(in, text)) {
      ++line;
      lines.push_back(Parse(text, line));
      if (lines.back().command) CheckCommand(*lines.back().command, line);
    }
  }

  // The reader must hand out the same commands, and stop at the first error.
  std::istringstream in(input);
  script::ScriptReader reader(in);
  size_t next = 0;
  for (;;) {
    while (next < lines.size() && !lines[next].command && lines[next].error.empty()) ++next;
    std::optional<script::Command> got;
    try {
      got = reader.Next();
    } catch (const script::ScriptError& e) {
      if (next >= lines.size() || lines[next].error != e.what()) Broken("reader error differs", 0);
      break;
    }
    if (!got) {
      if (next != lines.size()) Broken("reader ended early", static_cast<int64_t>(next) + 1);
      break;
    }
    if (next >= lines.size() || !lines[next].command || !Same(*got, *lines[next].command)) {
      Broken("reader command differs", got->line);
    }
    ++next;
  }
  return 0;
}
