// A recording's notes read back: its format line, Base64, noted files, practice keys, the round a
// replay starts at (the cases: notes.txt).
#include "replay/notes.h"

#include <gtest/gtest.h>

#include "replay/base64.h"
#include "replay/format.h"
#include "support/case_file.h"

namespace {

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
  const auto rows = testing_support::CaseRows("replay/notes.txt");
  EXPECT_GT(rows.size(), 30u);
  for (std::vector<std::string> f : rows) {  // reader, text, what it gives
    ASSERT_EQ(f.size(), 3u) << f[0];
    for (std::string& column : f) column = testing_support::Unescaped(column);
    EXPECT_EQ(Read(f[0], f[1]), f[2]) << f[0] << " " << f[1];
    if (f[0] == "base64") EXPECT_EQ(replay::FromBase64(f[2]), f[1]) << f[1];
  }
}

}  // namespace
