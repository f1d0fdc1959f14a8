// A recording's notes read back: its format line, Base64, noted files, practice keys, the round a
// replay starts at (the cases: notes.txt).
#include "replay/notes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "replay/base64.h"
#include "replay/format.h"

namespace {

// The text with \n, \r and \xHH read.
std::string Unescaped(const std::string& text) {
  if (text == "''") return "";
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
    } else if (text[++i] == 'x') {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += text[i] == 'n' ? '\n' : '\r';
    }
  }
  return out;
}

// What reader gives for text, as notes.txt writes it.
std::string Read(const std::string& reader, const std::string& text) {
  if (reader == "format") return replay::RecordingFormatProblem(text).value_or("");
  if (reader == "base64") return replay::Base64(text);
  if (reader == "from-base64") return replay::FromBase64(text);
  if (reader == "skip") return std::to_string(replay::RoundsToSkip(text));
  std::string out;
  if (reader == "files") {
    for (const auto& [name, bytes] : replay::NotedFiles(text)) out += name + "=" + bytes + "\n";
    return out;
  }
  const auto keys = replay::NotedPracticeKeys(text);
  if (!keys) return "none";
  for (const int16_t key : *keys) out += (out.empty() ? "" : " ") + std::to_string(key);
  return out;
}

TEST(Notes, EachCaseReadsAsWritten) {
  std::ifstream cases(std::string(RAPIKO_SOURCE_DIR) + "/tests/replay/notes.txt");
  int read = 0;
  for (std::string row; std::getline(cases, row);) {
    if (row.empty() || row[0] == '#') continue;
    std::vector<std::string> f;  // reader, text, what it gives
    std::istringstream columns(row);
    for (std::string column; std::getline(columns, column, '\t');) f.push_back(Unescaped(column));
    ASSERT_EQ(f.size(), 3u) << row;
    EXPECT_EQ(Read(f[0], f[1]), f[2]) << row;
    if (f[0] == "base64") EXPECT_EQ(replay::FromBase64(f[2]), f[1]) << row;
    ++read;
  }
  EXPECT_GT(read, 30);
}

}  // namespace
