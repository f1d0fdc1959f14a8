// The mark under the status box of a round unlike one of the folder's own list: practice, a list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/messages.h"
#include "support/script_run.h"

namespace {

using testing_support::GameDir;
using testing_support::RunScript;

constexpr int32_t kMarkWidth = 96;  // the status box's

// The texts drawn at the mark's place in the first frame of a round.
std::vector<std::string> Marks(const GameDir& dir, const std::vector<std::string>& args) {
  const auto r = RunScript(dir, "press 57\ntick 16\ntick 16\nframe\n", args);
  EXPECT_EQ(r.lines.size(), 1u) << r.err;
  std::vector<std::string> marks;
  if (r.lines.empty()) return marks;
  for (const auto& op : r.lines[0]["ops"]) {
    if (op["op"] == "text" && op["x"] == 4 && op["y"] == 66) marks.push_back(op["text"]);
  }
  return marks;
}

// A name that makes "PRACTICE " and it exactly as wide as the box.
std::string NameFillingTheBox() {
  std::string name;
  for (bool grew = true; grew;) {
    grew = false;
    for (const char c : std::string("mwabil")) {
      if (media::TextWidth("PRACTICE " + name + c) <= kMarkWidth) {
        name += c;
        grew = true;
        break;
      }
    }
  }
  return name;
}

TEST(PlayMark, PracticeAndTheListAreMarkedCutToTheBox) {
  GameDir dir;
  const std::string filling = NameFillingTheBox();
  ASSERT_EQ(media::TextWidth("PRACTICE " + filling), kMarkWidth);
  for (const std::string& name : {std::string("owl"), filling, filling + "mmm"}) {
    dir.Write(name + ".ini", "CAT\n");
  }
  const struct {
    std::vector<std::string> args;
    std::vector<std::string> marks;
  } cases[] = {
      {{}, {}},
      {{"--practice"}, {"PRACTICE"}},
      {{"--words", dir.File("owl.ini")}, {"owl"}},
      {{"--practice", "--words", dir.File("owl.ini")}, {"PRACTICE owl"}},
      {{"--practice", "--words", dir.File(filling + ".ini")}, {"PRACTICE " + filling}},
      {{"--practice", "--words", dir.File(filling + "mmm.ini")}, {"PRACTICE " + filling}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Marks(dir, c.args), c.marks) << (c.args.empty() ? "" : c.args.back());
  }
}

}  // namespace
