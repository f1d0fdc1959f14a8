// The script's lines at the edges of what each command accepts, and the reader's line numbers.
#include "script/script_parser.h"

#include <gtest/gtest.h>

namespace {

using Kind = script::Command::Kind;

// Lines that parse, with what they hold (the error cases run the whole program:
// script_contract_test; more lines that parse: the golden game script_grammar).
TEST(ScriptParser, EachCommandAtTheEdgesOfWhatItTakes) {
  const struct {
    std::string text;
    Kind kind;
    std::vector<int32_t> keys;
    uint32_t number;  // start's tick, or tick's milliseconds
    uint32_t passes;
    std::string path;
  } cases[] = {
      {"start 0\r", Kind::Start, {}, 0, 1, ""},
      {"down 255", Kind::Down, {255}, 0, 1, ""},
      {"up 1", Kind::Up, {1}, 0, 1, ""},
      {"\t press  30 \t57 ", Kind::Press, {30, 57}, 0, 1, ""},
      {"tick 2147483647 0", Kind::Tick, {}, 2147483647u, 0, ""},
      {"tick 16 2147483647", Kind::Tick, {}, 16, 2147483647u, ""},
      {"type", Kind::Type, {}, 0, 1, ""},
      {"type ", Kind::Type, {}, 0, 1, ""},
      {"type  a1", Kind::Type, {57, 30, 2}, 0, 1, ""},  // the second blank is typed
      {"type -=.", Kind::Type, {12, 13, 52}, 0, 1, ""},
      {"click", Kind::Click, {}, 0, 1, ""},
      {"focus in", Kind::FocusIn, {}, 0, 1, ""},
      {"focus out", Kind::FocusOut, {}, 0, 1, ""},
      {"screenshot  a b.png \t", Kind::Screenshot, {}, 0, 1, "a b.png"},
  };
  for (const auto& c : cases) {
    const auto cmd = script::ParseLine(c.text, 7);
    ASSERT_TRUE(cmd) << c.text;
    EXPECT_EQ(cmd->kind, c.kind) << c.text;
    EXPECT_EQ(cmd->line, 7) << c.text;
    EXPECT_EQ(cmd->keys, c.keys) << c.text;
    EXPECT_EQ(c.kind == Kind::Start ? cmd->startTick : cmd->ms, c.number) << c.text;
    EXPECT_EQ(cmd->passes, c.passes) << c.text;
    EXPECT_EQ(cmd->path, c.path) << c.text;
  }
  for (const std::string blank : {"", " \t", "\r", "# a note", "  #state"}) {
    EXPECT_FALSE(script::ParseLine(blank, 1)) << blank;
  }
  for (const std::string bad : {"typed", "type \\", "type /", "Start 1", "tick 16 1 1"}) {
    EXPECT_THROW(script::ParseLine(bad, 1), script::ScriptError) << bad;
  }
}

// Blank and comment lines count; a last line without its line end is read;
// a line of exactly the limit is whole.
TEST(ScriptReader, LinesAreNumberedAsWrittenUpToTheLimit) {
  std::istringstream in("\n# note\nstate\n\n  tick 16\n# " +
                        std::string(script::ScriptReader::kMaxLineBytes - 2, 'a') + "\nclick");
  script::ScriptReader reader(in);
  std::vector<std::pair<int64_t, Kind>> read;
  while (const auto cmd = reader.Next()) read.emplace_back(cmd->line, cmd->kind);
  EXPECT_EQ(read, (std::vector<std::pair<int64_t, Kind>>{
                      {3, Kind::State}, {5, Kind::Tick}, {7, Kind::Click}}));
}

}  // namespace
