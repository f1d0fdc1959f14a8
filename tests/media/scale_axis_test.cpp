// Tests of one axis of the scaling: which picture pixels each screen position shows, and how
// much of each.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "media/frame_scaler.h"

namespace media {
namespace {

// Small axes worked out by hand: one pixel over three positions, two over three (the middle
// one half of each), three over three, and below 1x the pixels nearest the positions' centres.
TEST(ScaleAxis, SmallAxesTakeThePixelsUnderEachPosition) {
  const struct {
    int32_t from, to;
    std::vector<int32_t> source;
    std::vector<uint16_t> share;
    std::vector<int32_t> firstShowing, firstAfter, pick;
  } cases[] = {
      {1, 3, {0, 0, 0}, {0, 0, 0}, {0, 3}, {0, 3}, {0, 0, 0}},
      {0, 2, {0, 0}, {0, 0}, {0, 2}, {0, 2}, {0, 0}},  // no picture: as one pixel
      {2, 3, {0, 0, 1}, {0, 128, 0}, {0, 1, 3}, {0, 2, 3}, {0, 2, 1}},
      {3, 3, {0, 1, 2}, {0, 0, 0}, {0, 1, 2, 3}, {0, 1, 2, 3}, {0, 1, 2}},
      {5, 2, {1, 3}, {0, 0}, {0, 0, 1, 1, 2, 2}, {0, 0, 1, 1, 2, 2}, {1, 3}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + " to " + std::to_string(c.to));
    const ScaleAxis axis(c.from, c.to);
    EXPECT_EQ(axis.source, c.source);
    EXPECT_EQ(axis.share, c.share);
    EXPECT_EQ(axis.firstShowing, c.firstShowing);
    EXPECT_EQ(axis.firstAfter, c.firstAfter);
    EXPECT_EQ(axis.pick, c.pick);
    EXPECT_EQ(axis.exact, c.from != 2);
  }
  EXPECT_EQ(ScaleAxis(2, 3).mixShare, (std::vector<uint16_t>{128, 0}));
}

// Between whole multiples: each screen position covers at most two picture
// pixels; every picture pixel is as wide as any other to within a screen
// pixel (counting the positions it has the larger share of), and at most
// one screen position mixes it with its neighbour.
TEST(ScaleAxis, BetweenWholeMultiplesEveryPixelKeepsItsWidthAndEdgesSoftenByOnePixel) {
  // At 640 to 1081 one position is all but a sliver of the next pixel: it shows that one alone.
  const std::pair<int32_t, int32_t> cases[] = {{640, 1024}, {480, 768},  {640, 1366}, {480, 1024},
                                               {640, 1440}, {480, 1081}, {640, 1081}};
  for (const auto& [from, to] : cases) {
    SCOPED_TRACE(std::to_string(from) + " to " + std::to_string(to));
    const ScaleAxis axis(from, to);
    EXPECT_FALSE(axis.exact);
    std::vector<int32_t> width(static_cast<size_t>(from));
    std::vector<int32_t> mixedAfter(static_cast<size_t>(from));
    std::vector<int64_t> covered(static_cast<size_t>(from));  // in 1/256 of a position
    for (int32_t i = 0; i < to; ++i) {
      const auto p = static_cast<size_t>(axis.source[static_cast<size_t>(i)]);
      const int32_t share = axis.share[static_cast<size_t>(i)];
      ASSERT_LT(share, 256);
      if (share != 0) {
        ASSERT_LT(p + 1, width.size());
        ++mixedAfter[p];
        covered[p + 1] += share;
      }
      covered[p] += 256 - share;
      ++width[share < 128 ? p : p + 1];
    }
    const auto [narrowest, widest] = std::minmax_element(width.begin(), width.end());
    EXPECT_LE(*widest - *narrowest, 1);
    EXPECT_EQ(*narrowest, to / from);
    EXPECT_LE(*std::max_element(mixedAfter.begin(), mixedAfter.end()), 1);
    // Each picture pixel covers to / from positions, to within rounding.
    for (const int64_t c : covered) EXPECT_NEAR(c, 256.0 * to / from, 2.0);
    // The first and the last positions show the first and the last pixel.
    EXPECT_EQ(axis.source.front(), 0);
    EXPECT_EQ(axis.source.back() + (axis.share.back() != 0), from - 1);
  }
  for (const int32_t k : {1, 2, 3}) EXPECT_TRUE(ScaleAxis(640, 640 * k).exact);
}

}  // namespace
}  // namespace media
