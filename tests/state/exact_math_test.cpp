// The exact atan, sin and cos against results rounded from 140-digit values
// (tools/make_exact_math.py): edge inputs here, a few thousand random ones in a file.
#include "state/exact_math.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <limits>
#include <map>
#include <span>
#include <sstream>
#include <string>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct Case {
  double x;
  double expected;
  const char* what;
};

// The rows of `tools/make_exact_math.py edges`.
constexpr Case kAtanEdges[] = {
    {0x0.0p+0, 0x0.0p+0, "zero"},
    {-0x0.0p+0, -0x0.0p+0, "negative zero"},
    {0x0.0000000000001p-1022, 0x0.0000000000001p-1022, "the smallest subnormal"},
    {-0x0.0100000000000p-1022, -0x0.0100000000000p-1022, "a subnormal"},
    {0x1.0000000000000p-1022, 0x1.0000000000000p-1022, "the smallest normal"},
    {0x1.fffffffffffffp-28, 0x1.fffffffffffffp-28, "just under 2^-27, where atan x rounds to x"},
    {0x1.0000000000000p-27, 0x1.0000000000000p-27, "2^-27"},
    {0x1.5798ee2308c3ap-27, 0x1.5798ee2308c3ap-27, "small"},
    {0x1.0000000000000p-7, 0x1.fffd555bbba97p-8, "the last value of step 0"},
    {0x1.0000000000001p-6, 0x1.fff555bbb729dp-7, "just past the middle between steps 0 and 1"},
    {0x1.8000000000000p-5, 0x1.7fb818430da2ap-5, "the middle between steps 1 and 2"},
    {0x1.0000000000000p-1, 0x1.dac670561bb4fp-2, "step 16"},
    {0x1.fffffffffffffp-1, 0x1.921fb54442d18p-1, "just under 1"},
    {0x1.0000000000000p+0, 0x1.921fb54442d18p-1, "one"},
    {-0x1.0000000000000p+0, -0x1.921fb54442d18p-1, "minus one"},
    {0x1.0000000000001p+0, 0x1.921fb54442d19p-1, "just over 1, where 1/x is taken"},
    {0x1.0000000000000p+1, 0x1.1b6e192ebbe44p+0, "two"},
    {0x1.0000000000000p+6, 0x1.8e1fca98cb633p+0, "64"},
    {0x1.c6bf526340000p+49, 0x1.921fb54442d14p+0, "large"},
    {0x1.0000000000000p+60, 0x1.921fb54442d18p+0, "2^60"},
    {0x1.fffffffffffffp+59, 0x1.921fb54442d18p+0, "just under 2^60"},
    {0x1.fffffffffffffp+1023, 0x1.921fb54442d18p+0, "the largest double"},
    {-0x1.fffffffffffffp+1023, -0x1.921fb54442d18p+0, "minus the largest double"},
    {kInf, 0x1.921fb54442d18p+0, "infinity"},
    {-kInf, -0x1.921fb54442d18p+0, "minus infinity"},
    {0x1.250bfe1b082f5p-26, 0x1.250bfe1b082f5p-26, "within 2^-53 ulp of a midpoint"},
    {0x1.f51a62037e957p-26, 0x1.f51a62037e954p-26, "within 2^-53 ulp of a midpoint"},
};

constexpr Case kSinEdges[] = {
    {0x0.0p+0, 0x0.0p+0, "zero"},
    {-0x0.0p+0, -0x0.0p+0, "negative zero"},
    {0x0.0000000000001p-1022, 0x0.0000000000001p-1022, "the smallest subnormal"},
    {0x1.0000000000000p-1022, 0x1.0000000000000p-1022, "the smallest normal"},
    {0x1.0000000000000p-27, 0x1.0000000000000p-27, "2^-27, where cos x rounds to 1 below"},
    {0x1.01b2b29a4692bp-26, 0x1.01b2b29a4692bp-26, "small"},
    {0x1.fffffffffffffp-27, 0x1.fffffffffffffp-27, "just under 2^-26, where sin x rounds to x"},
    {0x1.0000000000000p-26, 0x1.0000000000000p-26, "2^-26"},
    {-0x1.0000000000000p-1, -0x1.eaee8744b05f0p-2, "minus a half"},
    {0x1.0000000000000p+0, 0x1.aed548f090ceep-1, "one"},
    {0x1.921fb54442d18p-1, 0x1.6a09e667f3bccp-1, "pi/4, where the quadrant turns"},
    {0x1.921fb54442d19p-1, 0x1.6a09e667f3bcdp-1, "just over pi/4"},
    {0x1.921fb54442d17p+0, 0x1.0000000000000p+0, "just under a multiple of pi/2"},
    {0x1.921fb54442d18p+0, 0x1.0000000000000p+0, "the double nearest a multiple of pi/2"},
    {0x1.921fb54442d19p+0, 0x1.0000000000000p+0, "just over a multiple of pi/2"},
    {0x1.921fb54442d17p+1, 0x1.469898cc51702p-51, "just under a multiple of pi/2"},
    {0x1.921fb54442d18p+1, 0x1.1a62633145c07p-53, "the double nearest a multiple of pi/2"},
    {0x1.921fb54442d19p+1, -0x1.72cece675d1fdp-52, "just over a multiple of pi/2"},
    {0x1.2d97c7f3321d1p+2, -0x1.0000000000000p+0, "just under a multiple of pi/2"},
    {0x1.2d97c7f3321d2p+2, -0x1.0000000000000p+0, "the double nearest a multiple of pi/2"},
    {0x1.2d97c7f3321d3p+2, -0x1.0000000000000p+0, "just over a multiple of pi/2"},
    {0x1.921fb54442d17p+2, -0x1.469898cc51702p-50, "just under a multiple of pi/2"},
    {0x1.921fb54442d18p+2, -0x1.1a62633145c07p-52, "the double nearest a multiple of pi/2"},
    {0x1.921fb54442d19p+2, 0x1.72cece675d1fdp-51, "just over a multiple of pi/2"},
    {0x1.f6a7a2955385dp+2, 0x1.0000000000000p+0, "just under a multiple of pi/2"},
    {0x1.f6a7a2955385ep+2, 0x1.0000000000000p+0, "the double nearest a multiple of pi/2"},
    {0x1.f6a7a2955385fp+2, 0x1.0000000000000p+0, "just over a multiple of pi/2"},
    {0x1.921fb54442d11p+1, 0x1.d1a62633145c0p-49, "the game's pi"},
    {-0x1.921fb54442d18p+0, -0x1.0000000000000p+0, "minus pi/2"},
    {0x1.fffffffffffffp+2, 0x1.fa8d2a028cf7cp-1, "the last value of the short reduction"},
    {0x1.0000000000000p+3, 0x1.fa8d2a028cf7bp-1, "8"},
    {0x1.0f0cf064dd592p+73, -0x1.b453ab76bf397p-1, "10^22"},
    {0x1.6ac5b262ca1ffp+849, 0x1.0000000000000p+0, "the double closest to a multiple of pi/2"},
    {0x1.fffffffffffffp+1023, 0x1.452fc98b34e97p-8, "the largest double"},
    {-0x1.fffffffffffffp+1023, -0x1.452fc98b34e97p-8, "minus the largest double"},
    {0x1.7137449123ef6p-26, 0x1.7137449123ef6p-26, "within 2^-53 ulp of a midpoint"},
    {0x1.7137449123ef7p-26, 0x1.7137449123ef6p-26, "within 2^-53 ulp of a midpoint"},
};

constexpr Case kCosEdges[] = {
    {0x0.0p+0, 0x1.0000000000000p+0, "zero"},
    {-0x0.0p+0, 0x1.0000000000000p+0, "negative zero"},
    {0x0.0000000000001p-1022, 0x1.0000000000000p+0, "the smallest subnormal"},
    {0x1.0000000000000p-1022, 0x1.0000000000000p+0, "the smallest normal"},
    {0x1.0000000000000p-27, 0x1.0000000000000p+0, "2^-27, where cos x rounds to 1 below"},
    {0x1.01b2b29a4692bp-26, 0x1.fffffffffffffp-1, "small"},
    {0x1.fffffffffffffp-27, 0x1.fffffffffffffp-1, "just under 2^-26, where sin x rounds to x"},
    {0x1.0000000000000p-26, 0x1.fffffffffffffp-1, "2^-26"},
    {-0x1.0000000000000p-1, 0x1.c1528065b7d50p-1, "minus a half"},
    {0x1.0000000000000p+0, 0x1.14a280fb5068cp-1, "one"},
    {0x1.921fb54442d18p-1, 0x1.6a09e667f3bcdp-1, "pi/4, where the quadrant turns"},
    {0x1.921fb54442d19p-1, 0x1.6a09e667f3bccp-1, "just over pi/4"},
    {0x1.921fb54442d17p+0, 0x1.469898cc51702p-52, "just under a multiple of pi/2"},
    {0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54, "the double nearest a multiple of pi/2"},
    {0x1.921fb54442d19p+0, -0x1.72cece675d1fdp-53, "just over a multiple of pi/2"},
    {0x1.921fb54442d17p+1, -0x1.0000000000000p+0, "just under a multiple of pi/2"},
    {0x1.921fb54442d18p+1, -0x1.0000000000000p+0, "the double nearest a multiple of pi/2"},
    {0x1.921fb54442d19p+1, -0x1.0000000000000p+0, "just over a multiple of pi/2"},
    {0x1.2d97c7f3321d1p+2, -0x1.34f272993d141p-50, "just under a multiple of pi/2"},
    {0x1.2d97c7f3321d2p+2, -0x1.a79394c9e8a0ap-53, "the double nearest a multiple of pi/2"},
    {0x1.2d97c7f3321d3p+2, 0x1.961b1acd85d7dp-51, "just over a multiple of pi/2"},
    {0x1.921fb54442d17p+2, 0x1.0000000000000p+0, "just under a multiple of pi/2"},
    {0x1.921fb54442d18p+2, 0x1.0000000000000p+0, "the double nearest a multiple of pi/2"},
    {0x1.921fb54442d19p+2, 0x1.0000000000000p+0, "just over a multiple of pi/2"},
    {0x1.f6a7a2955385dp+2, 0x1.583ebeff65cc2p-50, "just under a multiple of pi/2"},
    {0x1.f6a7a2955385ep+2, 0x1.60fafbfd97309p-52, "the double nearest a multiple of pi/2"},
    {0x1.f6a7a2955385fp+2, -0x1.4f8282013467cp-51, "just over a multiple of pi/2"},
    {0x1.921fb54442d11p+1, -0x1.0000000000000p+0, "the game's pi"},
    {-0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54, "minus pi/2"},
    {0x1.fffffffffffffp+2, -0x1.29fbebf632f74p-3, "the last value of the short reduction"},
    {0x1.0000000000000p+3, -0x1.29fbebf632f94p-3, "8"},
    {0x1.0f0cf064dd592p+73, 0x1.0be2cef01c8f4p-1, "10^22"},
    {0x1.6ac5b262ca1ffp+849, -0x1.14ae72e6ba22fp-61, "the double closest to a multiple of pi/2"},
    {0x1.fffffffffffffp+1023, -0x1.fffe62ecfab75p-1, "the largest double"},
    {-0x1.fffffffffffffp+1023, -0x1.fffe62ecfab75p-1, "minus the largest double"},
    {0x1.94c583ada5b53p-26, 0x1.ffffffffffffdp-1, "within 2^-53 ulp of a midpoint"},
    {0x1.3988e1409212fp-26, 0x1.ffffffffffffep-1, "within 2^-53 ulp of a midpoint"},
};

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

TEST(ExactMath, EdgeInputsGiveTheCorrectlyRoundedBits) {
  for (const auto& [name, cases] : {std::pair{"atan", std::span<const Case>(kAtanEdges)},
                                    {"sin", std::span<const Case>(kSinEdges)},
                                    {"cos", std::span<const Case>(kCosEdges)}}) {
    const Function& f = kFunctions.at(name);
    for (const Case& c : cases) {
      const double got = f.rounded(c.x);
      EXPECT_TRUE(SameBits(got, c.expected)) << name << "(" << Hex(c.x) << "), " << c.what << ": "
                                             << Hex(got) << ", not " << Hex(c.expected);
    }
  }
}

TEST(ExactMath, NanGivesNanAndSoDoInfinitiesOutsideAtan) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (double x : {nan, -nan}) {
    EXPECT_TRUE(std::isnan(state::ExactAtan(x)));
    EXPECT_TRUE(std::isnan(state::ExactSin(x)));
    EXPECT_TRUE(std::isnan(state::ExactCos(x)));
  }
  for (double x : {kInf, -kInf}) {
    EXPECT_TRUE(std::isnan(state::ExactSin(x))) << x;
    EXPECT_TRUE(std::isnan(state::ExactCos(x))) << x;
  }
}

// Each line: a function's name, an input, the correctly rounded result and the double
// nearest to the exact value less that result, as hex floats. The unrounded value must lie
// within 2^-102 of the exact one: a loss of accuracy shows there long before it misrounds
// one of a few thousand inputs. Negated inputs are checked too (atan and sin are odd,
// cos is even).
TEST(ExactMath, RandomInputsAreCorrectlyRoundedFromWithin2ToTheMinus102) {
  std::ifstream file(RAPIKO_SOURCE_DIR "/tests/state/exact_math_cases.txt");
  ASSERT_TRUE(file) << "tests/state/exact_math_cases.txt is missing";
  std::map<std::string, int> checked;
  int wrong = 0;
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string name, x, hi, lo;
    ASSERT_TRUE(fields >> name >> x >> hi >> lo) << line;
    ASSERT_TRUE(kFunctions.contains(name)) << line;
    const Function& f = kFunctions.at(name);
    const double in = std::strtod(x.c_str(), nullptr);
    const state::Unrounded exact{std::strtod(hi.c_str(), nullptr),
                                 std::strtod(lo.c_str(), nullptr)};
    const state::Unrounded mirrored = f.odd ? state::Unrounded{-exact.hi, -exact.lo} : exact;
    for (auto [input, want] : {std::pair{in, exact}, {-in, mirrored}}) {
      const double got = f.rounded(input);
      const state::Unrounded u = f.unrounded(input);
      // hi - want.hi is exact: the two are equal or neighbours.
      const double error = (u.hi - want.hi) + (u.lo - want.lo);
      const bool rounded = SameBits(got, want.hi) && SameBits(u.hi, got);
      const bool close = std::fabs(error) <= std::ldexp(std::fabs(want.hi), -102);
      if ((!rounded || !close) && ++wrong <= 20) {
        ADD_FAILURE() << name << "(" << Hex(input) << ") = " << Hex(got) << " from " << Hex(u.hi)
                      << " + " << Hex(u.lo) << ", not " << Hex(want.hi) << " from " << Hex(want.hi)
                      << " + " << Hex(want.lo);
      }
    }
    ++checked[name];
  }
  EXPECT_EQ(wrong, 0);
  // A short or empty file would pass the loop above without checking much.
  for (const char* name : {"atan", "sin", "cos"}) EXPECT_GE(checked[name], 1000) << name;
}

}  // namespace
