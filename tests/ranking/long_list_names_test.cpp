// A list of any name keeps its results: its ranking's name (and its temporary's) stays bounded,
// and lists whose long names share a beginning rank apart.
#include <gtest/gtest.h>

#include "ranking/ranking_file.h"
#include "ranking/ranking_save.h"
#include "support/game_dir.h"

namespace {

TEST(LongListNames, EachKeepsItsOwnResults) {
  testing_support::GameDir dir("");
  const std::string myPath = dir.Path() + "/";
  const std::string stem(236, 'x');
  // Multi-byte characters where a 64-byte cut would fall.
  for (const std::string& name :
       {stem + "a", stem + "b", std::string(63, 'y') + "\xC3\xA9" + stem}) {
    auto g = std::make_unique<state::GameState>();
    g->choices.listName = name;
    g->unsavedResults.push_back({static_cast<int32_t>(name.back()), "ME"});
    ranking::SaveRanking(*g, myPath);
    auto back = std::make_unique<state::GameState>();
    back->choices.listName = name;
    EXPECT_EQ(ranking::LoadRanking(*back, myPath), "");
    EXPECT_EQ(back->rankKeys[0], name.back()) << name;
    EXPECT_EQ(back->rankKeys[1], 0) << name;  // no other list's result
  }
}

}  // namespace
