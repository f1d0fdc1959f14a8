// Tests of when the passes of the main loop begin on a real display.
#include "media/pass_pacer.h"

#include <gtest/gtest.h>

namespace media {
namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;
constexpr auto kPeriod = microseconds(16667);

TEST(PassPacer, PassesAreDueEachPeriodOnAnAbsoluteClockAndAKeyAddsOneTakingNoneAway) {
  const PassPacer::Clock::time_point t0{milliseconds(1000)};
  PassPacer pacer(kPeriod);
  EXPECT_LE(pacer.Due(), t0) << "the first pass is due at once";
  pacer.Begin(t0);
  EXPECT_EQ(pacer.Due(), t0 + kPeriod);
  // A pass that wakes a little late does not push the next one later.
  pacer.Begin(t0 + kPeriod + microseconds(300));
  EXPECT_EQ(pacer.Due(), t0 + 2 * kPeriod);
  // A key at 20 ms: a pass at once, and the next is still due at 33.3 ms.
  pacer.Begin(t0 + milliseconds(20));
  EXPECT_EQ(pacer.Due(), t0 + 2 * kPeriod);
  pacer.Begin(t0 + 2 * kPeriod);
  EXPECT_EQ(pacer.Due(), t0 + 3 * kPeriod);
  // Late by less than a period: the next is due on the same clock (here at
  // once); late by more: counted afresh, no hurrying to catch up.
  pacer.Begin(t0 + 3 * kPeriod + milliseconds(10));
  EXPECT_EQ(pacer.Due(), t0 + 4 * kPeriod);
  const auto late = t0 + 4 * kPeriod + milliseconds(40);
  pacer.Begin(late);
  EXPECT_EQ(pacer.Due(), late + kPeriod);
  // Another display's rate counts from the next pass.
  pacer.SetPeriod(milliseconds(10));
  pacer.Begin(late + kPeriod);
  EXPECT_EQ(pacer.Due(), late + kPeriod + milliseconds(10));
  // Exactly a period late is still on the same clock.
  const auto due = pacer.Due();
  pacer.Begin(due + milliseconds(10));
  EXPECT_EQ(pacer.Due(), due + milliseconds(10));
  // The first pass starts the clock, however early on it the pacer begins.
  PassPacer fresh(kPeriod);
  fresh.Begin(PassPacer::Clock::time_point{milliseconds(5)});
  EXPECT_EQ(fresh.Due(), PassPacer::Clock::time_point{milliseconds(5)} + kPeriod);
}

}  // namespace
}  // namespace media
