// The exact atan, sin and cos against results rounded from 140-digit values
// (tools/make_exact_math.py): edge inputs and a few thousand random ones, in files (rounding,
// saturation, the figures and a round's counts: cases/numbers.txt, read by
// tests/media/readers_test.cpp; the random numbers' sequence: every golden game's start).
#include "state/exact_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

namespace {

struct Function {
  double (*rounded)(double);
  state::Unrounded (*unrounded)(double);
  bool odd;
};

const std::map<std::string, Function> kFunctions = {
    {"atan", {state::ExactAtan, state::AtanUnrounded, true}},
    {"sin", {state::ExactSin, state::SinUnrounded, true}},
    {"cos", {state::ExactCos, state::CosUnrounded, false}}};

std::string Hex(double v) {
  char text[40];
  std::snprintf(text, sizeof text, "%a", v);
  return text;
}

// Bit for bit, so that -0 and +0 differ.
bool SameBits(double a, double b) {
  return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

// The lines of a file of cases: a function's name, an input, the correctly rounded result, and
// then what the file holds: why the input is an edge (exact_math_edges.txt), or the double
// nearest to the exact value less that result (exact_math_cases.txt). There the unrounded value
// must lie within 2^-102 of the exact one, for the input and its negation (atan and sin are
// odd, cos is even): a loss of accuracy shows there long before it misrounds one of a few
// thousand inputs.
TEST(ExactMath, EveryInputOfTheCaseFilesIsCorrectlyRounded) {
  for (const char* file : {"exact_math_edges.txt", "exact_math_cases.txt"}) {
    const bool edges = std::string(file) == "exact_math_edges.txt";
    std::ifstream in(std::string(RAPIKO_SOURCE_DIR "/tests/state/") + file);
    ASSERT_TRUE(in) << file;
    std::map<std::string, int> checked;
    int wrong = 0;
    for (std::string line; std::getline(in, line);) {
      if (line.empty() || line[0] == '#') continue;
      std::istringstream fields(line);
      std::string name, x, hi, rest;
      ASSERT_TRUE(fields >> name >> x >> hi && std::getline(fields >> std::ws, rest)) << line;
      const Function& f = kFunctions.at(name);
      const double input = std::strtod(x.c_str(), nullptr);
      const state::Unrounded want{std::strtod(hi.c_str(), nullptr),
                                  edges ? 0.0 : std::strtod(rest.c_str(), nullptr)};
      for (const double sign : {1.0, -1.0}) {
        if (edges && sign < 0) break;
        const double got = f.rounded(sign * input);
        const double mirror = f.odd ? sign : 1.0;
        const state::Unrounded u = f.unrounded(sign * input);
        const double error = (u.hi - mirror * want.hi) + (u.lo - mirror * want.lo);
        const bool close = edges || std::fabs(error) <= std::ldexp(std::fabs(want.hi), -102);
        const bool rounded = SameBits(got, mirror * want.hi) && (edges || SameBits(u.hi, got));
        if ((!rounded || !close) && ++wrong <= 20) {
          ADD_FAILURE() << name << "(" << Hex(sign * input) << ") = " << Hex(got) << " from "
                        << Hex(u.hi) << " + " << Hex(u.lo) << ", not " << Hex(mirror * want.hi)
                        << (edges ? ": " + rest : " + " + Hex(mirror * want.lo));
        }
      }
      ++checked[name];
    }
    EXPECT_EQ(wrong, 0) << file;
    // A short or empty file would pass the loop above without checking much.
    for (const char* name : {"atan", "sin", "cos"}) EXPECT_GE(checked[name], edges ? 20 : 1000);
  }
}

TEST(ExactMath, NanGivesNanAndSoDoInfinitiesOutsideAtan) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (const double x : {nan, -nan, inf, -inf}) {
    EXPECT_EQ(std::isnan(state::ExactAtan(x)), std::isnan(x));
    EXPECT_TRUE(std::isnan(state::ExactSin(x)));
    EXPECT_TRUE(std::isnan(state::ExactCos(x)));
  }
}

}  // namespace
