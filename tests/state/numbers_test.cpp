// The state's numbers: rounding, saturation and derived figures (numbers.txt), and counts that
// never wrap (the random numbers' sequence: every golden game's start).
#include <gtest/gtest.h>

#include <fstream>

#include "state/arith.h"
#include "state/figures.h"
#include "state/progress.h"

namespace {

constexpr int32_t kMax32 = std::numeric_limits<int32_t>::max();

// Each line of numbers.txt: a function, its arguments => its result.
TEST(Numbers, EachCaseOfTheFile) {
  const auto figure = [](std::optional<double> v) { return v ? state::OneDecimal(*v) : "none"; };
  const std::map<std::string, std::function<std::string(const std::vector<std::string>&)>> f = {
      {"round",
       [](const auto& a) { return std::to_string(state::RoundHalfEven(std::stod(a[0]))); }},
      {"floor", [](const auto& a) { return std::to_string(state::FloorToInt(std::stod(a[0]))); }},
      {"to16", [](const auto& a) { return std::to_string(state::Saturate16(std::stoll(a[0]))); }},
      {"to32", [](const auto& a) { return std::to_string(state::Saturate32(std::stoll(a[0]))); }},
      {"pace",
       [](const auto& a) { return state::OneDecimal(state::LettersPerMinute(std::stoll(a[0]))); }},
      {"accuracy",
       [&](const auto& a) {
         return figure(state::AccuracyPercent(std::stoll(a[0]), std::stoll(a[1])));
       }},
      {"miss-rate",
       [&](const auto& a) {
         return figure(state::MissRate({std::stoi(a[0]), std::stoi(a[1]), std::stoi(a[2])}));
       }},
      {"decimal", [](const auto& a) { return state::OneDecimal(std::stod(a[0])); }},
  };
  std::ifstream in(RAPIKO_SOURCE_DIR "/tests/state/numbers.txt");
  int cases = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line.substr(0, line.find(" => ")));
    std::string name;
    std::vector<std::string> args;
    words >> name;
    for (std::string arg; words >> arg;) args.push_back(arg);
    EXPECT_EQ(f.at(name)(args), line.substr(line.find(" => ") + 4)) << line;
    ++cases;
  }
  EXPECT_GT(cases, 50);
}

// Each count of a key lands in that key's tally and in the round's total;
// a code outside the table counts in the total alone; nothing wraps.
TEST(Counts, KeyTalliesAndTotalsSaturate) {
  state::RoundCounts counts;
  for (const int32_t code : {-1, 0, 255, 256}) {
    state::CountLock(counts, code);
    state::CountWrongKey(counts, code);
    state::CountFallOut(counts, code, 3);
  }
  EXPECT_EQ(counts.locks, 4);
  EXPECT_EQ(counts.wrongKeys, 4);
  EXPECT_EQ(counts.lost, 12);
  for (const std::size_t code : {std::size_t{0}, std::size_t{255}}) {
    EXPECT_EQ(counts.keys[code], (state::KeyTally{1, 1, 1})) << code;
  }
  EXPECT_EQ(counts.keys[1], state::KeyTally{});

  counts.locks = kMax32 - 1;
  counts.keys[9].wrong = kMax32 - 1;
  counts.lost = kMax32 - 2;
  for (int i = 0; i < 2; ++i) {
    state::CountLock(counts, 9);
    state::CountWrongKey(counts, 9);
    state::CountFallOut(counts, 9, 2);
  }
  EXPECT_EQ(counts.locks, kMax32);
  EXPECT_EQ(counts.keys[9], (state::KeyTally{2, kMax32, 2}));
  EXPECT_EQ(counts.lost, kMax32);
}

}  // namespace
