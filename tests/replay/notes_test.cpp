// A recording's notes read back: its format line, Base64, noted files, practice keys, the round a
// replay starts at (the cases: notes.txt); a round's start as a best round notes it, read back
// field by field, in every version's form.
#include "replay/notes.h"

#include <gtest/gtest.h>

#include "replay/base64.h"
#include "replay/format.h"
#include "replay/round_start.h"
#include "support/case_file.h"
#include "support/fakes.h"

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

// How many fields an aggregate has: the most initialisers it takes.
struct AnyField {
  template <class T>
  operator T() const;
};
template <class T, class... Fields>
constexpr std::size_t FieldCount() {
  if constexpr (requires { T{Fields{}..., AnyField{}}; }) {
    return FieldCount<T, Fields..., AnyField>();
  } else {
    return sizeof...(Fields);
  }
}

TEST(RoundStart, TheNoteNamesEveryFieldAndGivesItBackAsItWas) {
  testing_support::Rig from;
  state::GameState& g = from.g;
  // Each field its own value, so that two read in each other's places show.
  std::size_t named = 0;
  state::ForEachPacingField(g.pacing, [&named](const char*, auto& field) {
    ++named;
    field = static_cast<std::remove_reference_t<decltype(field)>>(named % 2 ? named + 0.25
                                                                            : -1.0 * named);
  });
  // A field added to the record reaches the note only through ForEachPacingField.
  EXPECT_EQ(named, FieldCount<state::Pacing>());
  g.rng.SetState({11, 12, 13, 14});
  g.hasFocus = false;
  g.roundTime = 15;
  const std::string note = replay::ResumeNote(g);
  EXPECT_NE(note.find(R"("pacing":{"shotStepX":1.25,"shotStepY":-2.0,"spawnClock":3,)"),
            std::string::npos)
      << note;

  // The notes of version 0 held the pacing by position.
  const std::string version0 =
      R"(resume {"hasFocus":false,"pacing":[1.25,-2.0,3,-4.0,5.25,-6,7,-8,9,-10],)"
      R"("rng":[11,12,13,14],"roundTime":15})";
  for (const std::string& written : {note, version0}) {
    testing_support::Rig to;
    ASSERT_TRUE(replay::ApplyResume(to.g, written)) << written;
    EXPECT_EQ(replay::ResumeNote(to.g), note);
    EXPECT_EQ(to.g.gameMode, state::kModePlaying);
    EXPECT_EQ(to.sounds, std::vector<std::string>{"sndStart.play"});
  }

  testing_support::Rig to;
  for (const char* refused : {R"(resume {"rng":[1,2,3,4]})", "round {}",
                              R"(resume {"hasFocus":true,"pacing":{"shotStepX":1},)"
                              R"("rng":[1,2,3,4],"roundTime":0})"}) {
    EXPECT_FALSE(replay::ApplyResume(to.g, refused)) << refused;
  }
  EXPECT_EQ(to.g.gameMode, state::kModeTitle);
}

}  // namespace
