// Golden games: every tests/golden/NAME.script is run headless and its whole
// output compared with NAME.expected.jsonl (HACKING.md, "A golden game", has
// the files and directives). RAPIKO_UPDATE_GOLDEN=1 rewrites the expected files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

#include "support/script_run.h"

namespace {

namespace fs = std::filesystem;
using testing_support::GameDir;
using testing_support::ReadFileBytes;

const fs::path kGoldenDir = fs::path(RAPIKO_SOURCE_DIR) / "tests" / "golden";

std::vector<std::string> GoldenNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kGoldenDir)) {
    if (entry.path().extension() == ".script") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The words of the script's first "# golden: WORD ..." line, WORD first; empty without one.
std::vector<std::string> Directive(const std::string& script, const std::string& word) {
  const std::string text = "\n" + script;  // each directive starts a line
  const size_t at = text.find("\n# golden: " + word);
  if (at == std::string::npos) return {};
  std::istringstream line(text.substr(at + 11, text.find('\n', at + 1) - at - 11));
  return {std::istream_iterator<std::string>(line), {}};
}

// The history file with every line's local date and time masked.
std::string MaskedHistory(const std::string& bytes) {
  static const std::regex stamp(R"(^\d{4}-\d\d-\d\d,\d\d:\d\d:\d\d,)", std::regex::multiline);
  return std::regex_replace(bytes, stamp, "YYYY-MM-DD,hh:mm:ss,");
}

// The script's "# history: ..." comments against the history's lines from the score on.
void ExpectBotTallies(const std::string& script, const std::string& history) {
  std::vector<std::string> expected, actual;
  std::istringstream lines(script), rows(history);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("# history: ", 0) == 0) expected.push_back(line.substr(11));
  for (std::string row; std::getline(rows, row);)  // past the header
    if (row.rfind("date,", 0) != 0)
      actual.push_back(row.substr(row.find(',', row.find(',') + 1) + 1));
  EXPECT_EQ(expected, actual);
}

std::string Actual(const std::string& name) {
  const fs::path base = kGoldenDir / name;
  const std::string script = ReadFileBytes(base.string() + ".script");
  GameDir dir("");
  if (Directive(script, "no-words").empty()) {
    dir.Write("rapdata.ini", ReadFileBytes(std::string(RAPIKO_ASSETS_DIR) + "/rapdata.ini"));
  }
  for (const auto& [suffix, file] : {std::pair{".words", "rapdata.ini"},
                                     {".ranking", "rapikosc.ini"},
                                     {".history", "rapiko-history.csv"},
                                     {".bmp", "back.bmp"}}) {
    const std::string from = base.string() + suffix;
    if (fs::exists(from)) dir.Write(file, ReadFileBytes(from));
  }
  std::vector<std::string> extra = Directive(script, "args");
  if (!extra.empty()) extra.erase(extra.begin());
  auto r = testing_support::RunScript(dir, script, extra);
  // The scratch folder's name changes from run to run.
  for (size_t at; (at = r.err.find(dir.Path())) != std::string::npos;)
    r.err.replace(at, dir.Path().size(), "GAMEDIR");
  nlohmann::json trailer = {
      {"exitCode", r.exitCode}, {"stderr", r.err}, {"rapikosc.ini", dir.Read("rapikosc.ini")}};
  if (dir.Exists("rapikosc.ini.bak")) trailer["rapikosc.ini.bak"] = dir.Read("rapikosc.ini.bak");
  if (!Directive(script, "history").empty()) {
    const std::string history = dir.Read("rapiko-history.csv");
    ExpectBotTallies(script, history);
    trailer["rapiko-history.csv"] = MaskedHistory(history);
  }
  return r.out +
         nlohmann::json{{"golden", trailer}}.dump(-1, ' ', false,
                                                  nlohmann::json::error_handler_t::replace) +
         "\n";
}

// The first line where the two differ, cut to a readable length.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
  const auto at = static_cast<size_t>(
      std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end()).first -
      expected.begin());
  const size_t line = at == 0 ? 0 : expected.rfind('\n', at - 1) + 1;  // npos + 1 is 0
  const size_t from = std::max(line, at > 60 ? at - 60 : 0);
  return "line " +
         std::to_string(std::count(expected.begin(), expected.begin() + long(line), '\n') + 1) +
         ", column " + std::to_string(at - line + 1) + "\n  expected: ..." +
         expected.substr(from, 160) + "\n  actual:   ..." + actual.substr(from, 160);
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, RunMatchesExpected) {
  const std::string name = GetParam();
  const std::string expectedPath = (kGoldenDir / (name + ".expected.jsonl")).string();
  const std::string actual = Actual(name);
  if (const char* update = std::getenv("RAPIKO_UPDATE_GOLDEN"); update && *update == '1') {
    std::ofstream(expectedPath, std::ios::binary | std::ios::trunc) << actual;
    GTEST_SKIP() << "rewrote " << name << ".expected.jsonl";
  }
  const std::string expected = ReadFileBytes(expectedPath);
  ASSERT_FALSE(expected.empty()) << "no " << expectedPath << " (RAPIKO_UPDATE_GOLDEN=1 writes it)";
  EXPECT_TRUE(expected == actual) << name << ": " << FirstDifference(expected, actual);
}

INSTANTIATE_TEST_SUITE_P(Games, Golden, ::testing::ValuesIn(GoldenNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
