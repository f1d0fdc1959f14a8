// Golden games: every tests/golden/NAME.script is run headless and its whole output compared
// with NAME.expected.json (HACKING.md, "A golden game", has the files and directives).
// RAPIKO_UPDATE_GOLDEN=1 rewrites the expected files that changed and names them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>

#include "support/script_run.h"

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;
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

bool IsUtf8(const std::string& bytes) {
  try {
    (void)Json(bytes).dump();
    return true;
  } catch (const Json::type_error&) {
    return false;
  }
}

// Text in pieces that fit a line: each ends with a line end, or after at
// most kPieceBytes bytes (at the start of a character), so that a changed
// line is a changed line. Joined, they are the text again.
constexpr size_t kPieceBytes = 200;
Json Pieces(const std::string& text) {
  Json pieces = Json::array();
  for (size_t at = 0; at < text.size();) {
    const size_t newline = text.find('\n', at);
    size_t end =
        std::min(newline == std::string::npos ? text.size() : newline + 1, at + kPieceBytes);
    while (end < text.size() && end > at + 1 && (text[end] & 0xC0) == 0x80) --end;
    pieces.push_back(text.substr(at, end - at));
    at = end;
  }
  return pieces;
}

// A file or a text as its pieces; bytes that are not UTF-8 read as Latin-1,
// which keeps every byte.
Json FileJson(const std::string& bytes) {
  if (IsUtf8(bytes)) return Pieces(bytes);
  std::string text;
  for (const unsigned char c : bytes) {
    if (c < 0x80) {
      text += static_cast<char>(c);
    } else {
      text += static_cast<char>(0xC0 | (c >> 6));
      text += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return {{"latin1", Pieces(text)}};
}

// v with each string too long for a line in pieces: {"joined": [...]}.
Json ShortStrings(const Json& v) {
  if (v.is_string() && v.get_ref<const std::string&>().size() > kPieceBytes) {
    return {{"joined", Pieces(v.get<std::string>())}};
  }
  if (!v.is_structured()) return v;
  Json out = v;
  for (auto it = out.begin(); it != out.end(); ++it) *it = ShortStrings(*it);
  return out;
}

// Every file under root by its path from root, with its bytes.
std::map<std::string, std::string> Files(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (e.is_regular_file())
      files[fs::relative(e.path(), root).generic_string()] = ReadFileBytes(e.path().string());
  return files;
}

// The run as the expected file holds it: each line of standard output, then
// {"golden": ...} with the exit status, standard error and the files. A
// line of output that is not in the one form the game writes JSON in is a
// failure of its own, so that equal values mean equal bytes.
Json Actual(const std::string& name) {
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
  // NAME.dir/ holds more files of the game folder, in their folders.
  if (fs::is_directory(base.string() + ".dir"))
    fs::copy(base.string() + ".dir", dir.Path(),
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  // The scratch folder's name changes from run to run: GAMEDIR stands for it.
  const auto masked = [&dir](std::string text, const std::string& from, const std::string& to) {
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
      text.replace(at, from.size(), to);
    return text;
  };
  const auto inDir = [&](const std::string& text) { return masked(text, "GAMEDIR", dir.Path()); };
  const auto named = [&](const std::string& text) { return masked(text, dir.Path(), "GAMEDIR"); };
  const std::map<std::string, std::string> before = Files(dir.Path());
  // The game's own texts unless the script names another locale.
  const std::vector<std::string> lang = Directive(script, "lang");
  testing_support::GameLocale() = lang.size() > 1 ? lang[1] : "ja_JP.UTF-8";
  // "command ARGS": the program with these arguments alone, its output text; else the script.
  std::vector<std::string> args = Directive(script, "command");
  const bool command = !args.empty();
  if (!command) args = Directive(script, "args");
  if (!args.empty()) args.erase(args.begin());
  for (std::string& arg : args) arg = inDir(arg);
  auto r = command ? testing_support::RunBinary(args)
                   : testing_support::RunScript(dir, inDir(script), args);
  Json run = Json::array();
  std::istringstream out(command ? "" : r.out);
  for (std::string line; std::getline(out, line);) {
    const Json value = Json::parse(line, nullptr, false);
    EXPECT_EQ(value.is_discarded() ? "" : value.dump(), line) << "not the game's JSON form";
    run.push_back(ShortStrings(value));
  }
  EXPECT_TRUE(r.out.empty() || r.out.back() == '\n') << "output without its last line end";
  Json trailer = {{"exitCode", r.exitCode}};
  if (command) trailer["stdout"] = FileJson(named(r.out));
  trailer["stderr"] = FileJson(named(r.err));
  trailer["rapikosc.ini"] = FileJson(dir.Read("rapikosc.ini"));
  if (dir.Exists("rapikosc.ini.bak"))
    trailer["rapikosc.ini.bak"] = FileJson(dir.Read("rapikosc.ini.bak"));
  // Another word list's ranking.
  if (fs::is_directory(dir.File("rankings"))) {
    for (const auto& entry : fs::directory_iterator(dir.File("rankings"))) {
      const std::string file = "rankings/" + entry.path().filename().string();
      trailer[file] = FileJson(dir.Read(file));
    }
  }
  if (!Directive(script, "history").empty()) {
    const std::string history = dir.Read("rapiko-history.csv");
    ExpectBotTallies(script, history);
    trailer["rapiko-history.csv"] = FileJson(MaskedHistory(history));
  }
  // "files": every other file the run made or changed (its bytes) or removed (null).
  if (!Directive(script, "files").empty()) {
    std::map<std::string, std::string> after = Files(dir.Path());
    after.erase("script.txt");
    for (const auto& [file, bytes] : before)
      if (!after.count(file)) trailer[file] = nullptr;
    for (const auto& [file, bytes] : after) {
      const auto old = before.find(file);
      if (trailer.contains(file) || (old != before.end() && old->second == bytes)) continue;
      // A copy of a file the folder held before is named, not repeated.
      const auto same = std::find_if(before.begin(), before.end(), [&](const auto& b) {
        return !bytes.empty() && b.second == bytes;
      });
      trailer[file] = same != before.end() ? Json{{"copy of", same->first}}
                                           : FileJson(named(MaskedHistory(bytes)));
    }
  }
  run.push_back({{"golden", trailer}});
  return run;
}

// The expected file's layout, so that a changed field is a changed line: an object one member
// per line, a long array of numbers and strings in rows, a long array of objects one per line;
// what fits on a short line stays on one.
constexpr std::size_t kWidth = 100;  // what is longer than this is split over lines

std::string Compact(const Json& v) {
  return v.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void Put(const Json& v, int depth, std::string& out) {
  const std::string compact = Compact(v);
  if (!v.is_structured() || v.empty() || compact.size() + 2 * depth <= kWidth) {
    out += compact;
    return;
  }
  const std::string pad(2 * (depth + 1), ' ');
  const bool object = v.is_object();
  out += object ? "{\n" : "[\n";
  const bool flat =
      !object && std::none_of(v.begin(), v.end(), [](const Json& e) { return e.is_structured(); });
  std::string row;
  bool first = true;
  for (auto it = v.begin(); it != v.end(); ++it) {
    if (flat) {
      // Numbers and strings in rows of at most kWidth characters.
      const std::string item = Compact(*it);
      if (!row.empty() && pad.size() + row.size() + 2 + item.size() > kWidth) {
        out += pad + row + ",\n";
        row.clear();
      }
      row += (row.empty() ? "" : ", ") + item;
      continue;
    }
    if (!first) out += ",\n";
    first = false;
    out += pad;
    if (object) out += Json(it.key()).dump() + ": ";
    Put(it.value(), depth + 1, out);
  }
  if (flat) out += pad + row;
  out += "\n" + std::string(2 * depth, ' ') + (object ? "}" : "]");
}

std::string Layout(const Json& v) {
  std::string out;
  Put(v, 0, out);
  return out + "\n";
}

void RunGolden(const std::string& name) {
  const std::string expectedPath = (kGoldenDir / (name + ".expected.json")).string();
  const std::string actual = Layout(Actual(name)), old = ReadFileBytes(expectedPath);
  if (const char* update = std::getenv("RAPIKO_UPDATE_GOLDEN"); update && *update == '1') {
    if (actual != old) {
      std::ofstream(expectedPath, std::ios::binary | std::ios::trunc) << actual;
      std::cout << "rewrote tests/golden/" << name << ".expected.json" << std::endl;
    }
    return;
  }
  ASSERT_FALSE(old.empty()) << "no " << expectedPath << " (make golden-update writes it)";
  // Byte for byte; the first line that differs (numbered from 1) says where.
  std::istringstream e(old), a(actual);
  std::string expectedLine, actualLine;
  int line = 0;
  do {
    expectedLine.clear(), actualLine.clear(), ++line;
    std::getline(e, expectedLine), std::getline(a, actualLine);
  } while (expectedLine == actualLine && (e || a));
  EXPECT_TRUE(old == actual) << name << ": the run differs from tests/golden/" << name
                             << ".expected.json first at its line " << line
                             << "\n  expected: " << expectedLine.substr(0, 200)
                             << "\n  actual:   " << actualLine.substr(0, 200)
                             << "\nIf the change is meant: make golden-update, and read the diff.";
}

// One test per game, named after it: `ctest -R 'Golden.title$'` runs one.
const bool kRegistered = [] {
  for (const std::string& name : GoldenNames()) {
    ::testing::RegisterTest("Golden", name.c_str(), nullptr, nullptr, __FILE__, __LINE__,
                            [name]() -> ::testing::Test* {
                              struct Game : ::testing::Test {
                                std::string name;
                                void TestBody() override { RunGolden(name); }
                              };
                              auto* game = new Game;
                              game->name = name;
                              return game;
                            });
  }
  return true;
}();

}  // namespace
