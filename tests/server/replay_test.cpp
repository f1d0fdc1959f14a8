// A round replayed for its result: drawn or not, every pass leaves the same
// state, and the result is the one the game's own run gave (the case's
// second comment line). The API's rows are api_cases.txt.
#include <gtest/gtest.h>

#include <functional>
#include <regex>

#include "script/state_json.h"
#include "server/lists.h"
#include "server/verify.h"
#include "support/game_dir.h"

namespace {

TEST(ServerReplay, EveryPassTheSameWithoutDrawingAndTheGamesResult) {
  const std::string text = testing_support::ReadFileBytes(
      std::string(RAPIKO_SOURCE_DIR) + "/tests/server/cases/english-4242.script");
  const server::RoundStart start{.seed = 4242,
                                 .words = server::WordLists("").Find("english")->words};
  testing_support::GameDir folder;
  std::vector<std::size_t> drawn;
  std::vector<std::size_t> undrawn;
  const auto keep = [](std::vector<std::size_t>& states) {
    return [&states](const state::GameState& g) {
      states.push_back(std::hash<std::string>{}(script::StateJson(g, 0, {})));
    };
  };
  const server::Verdict withPictures =
      server::ReplayRound(start, text, {.pictureFolder = folder.Path(), .beforePass = keep(drawn)});
  const server::Verdict verdict =
      server::ReplayRound(start, text, {.pictureFolder = {}, .beforePass = keep(undrawn)});
  EXPECT_EQ(withPictures.refusal, "");
  EXPECT_EQ(verdict.refusal, "");
  ASSERT_GT(undrawn.size(), 7000u);
  ASSERT_EQ(drawn.size(), undrawn.size());
  for (std::size_t i = 0; i < drawn.size(); ++i) ASSERT_EQ(drawn[i], undrawn[i]) << "pass " << i;
  std::smatch result;
  ASSERT_TRUE(std::regex_search(text, result,
                                std::regex("score (\\d+), level (\\d+), highest level (\\d+)")));
  EXPECT_EQ(verdict.score, std::stoi(result[1]));
  EXPECT_EQ(verdict.level, std::stoi(result[2]));
  EXPECT_EQ(verdict.maxLevel, std::stoi(result[3]));
}

}  // namespace
