// Tests of which parts of a new frame are sent to the screen again: bands of the rows and
// columns that differ from the frame shown, joined when close together.
#include "media/shown_frame.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace media {
namespace {

constexpr int32_t kW = 640;
constexpr int32_t kH = 480;

TEST(ShownFrame, OnlyWhatDiffersFromTheShownFrameIsSentAgain) {
  std::array<Color, 256> colors{};
  colors[1] = {255, 0, 0};
  const Palette red(colors);
  ShownFrame shown;
  std::vector<uint8_t> frame(kW * kH, 0);
  EXPECT_EQ(shown.Update(frame, kW, kH, red), (std::vector<Band>{{0, 0, kW, kH}}));
  EXPECT_TRUE(shown.Update(frame, kW, kH, red).empty());
  frame[10 * kW + 30] = 1;  // one pixel
  frame[14 * kW + 35] = 1;  // close below: the same band
  frame[300 * kW + 600] = 1;
  EXPECT_EQ(shown.Update(frame, kW, kH, red),
            (std::vector<Band>{{30, 10, 36, 15}, {600, 300, 601, 301}}));
  EXPECT_TRUE(shown.Update(frame, kW, kH, red).empty());
  // Two letters side by side: a band each; close together, one; a change
  // reaching both joins them.
  for (int32_t y = 100; y < 120; ++y) {
    frame[y * kW + 100] = frame[y * kW + 400] = frame[y * kW + 420] = 1;
  }
  EXPECT_EQ(shown.Update(frame, kW, kH, red),
            (std::vector<Band>{{100, 100, 101, 120}, {400, 100, 421, 120}}));
  for (int32_t x = 90; x < 410; ++x) frame[125 * kW + x] = 1;
  frame[200 * kW + 300] = 1;
  EXPECT_EQ(shown.Update(frame, kW, kH, red),
            (std::vector<Band>{{90, 125, 410, 126}, {300, 200, 301, 201}}));
  frame[130 * kW + 100] = frame[130 * kW + 400] = 1;
  for (int32_t x = 90; x < 410; ++x) frame[132 * kW + x] = 1;
  EXPECT_EQ(shown.Update(frame, kW, kH, red), (std::vector<Band>{{90, 130, 410, 133}}));
  // Another palette changes every pixel's colour; so does losing the screen.
  colors[1] = {0, 255, 0};
  EXPECT_EQ(shown.Update(frame, kW, kH, Palette(colors)), (std::vector<Band>{{0, 0, kW, kH}}));
  shown.Forget();
  EXPECT_EQ(shown.Update(frame, kW, kH, Palette(colors)), (std::vector<Band>{{0, 0, kW, kH}}));
}

// Changes up to 8 rows below a band, or up to 32 columns beside it, join it; one row or column
// further, they make a band of their own. Within a row, runs of 32-column chunks that differ
// are cut to their first and last changed columns.
TEST(ShownFrame, ChangesJoinABandWithinEightRowsAndThirtyTwoColumns) {
  constexpr int32_t w = 200, h = 60;
  struct Case {
    const char* what;
    std::vector<std::pair<int32_t, int32_t>> changed;
    std::vector<Band> bands;
  };
  const Case cases[] = {
      {"rows 8 apart", {{10, 10}, {10, 19}}, {{10, 10, 11, 20}}},
      {"rows 9 apart", {{10, 10}, {10, 20}}, {{10, 10, 11, 11}, {10, 20, 11, 21}}},
      {"a row, 32 apart", {{31, 5}, {64, 5}}, {{31, 5, 65, 6}}},
      {"a row, 33 apart", {{31, 5}, {65, 5}}, {{31, 5, 32, 6}, {65, 5, 66, 6}}},
      {"32 left of the band above", {{100, 10}, {67, 11}}, {{67, 10, 101, 12}}},
      {"33 left", {{100, 10}, {66, 11}}, {{100, 10, 101, 11}, {66, 11, 67, 12}}},
      {"32 right of the band above", {{100, 10}, {133, 11}}, {{100, 10, 134, 12}}},
      {"33 right", {{100, 10}, {134, 11}}, {{100, 10, 101, 11}, {134, 11, 135, 12}}},
      {"the corners", {{0, 0}, {199, 59}}, {{0, 0, 1, 1}, {199, 59, 200, 60}}},
      {"three chunks in a run", {{40, 3}, {70, 3}, {100, 3}}, {{40, 3, 101, 4}}},
  };
  const Palette palette;
  for (const Case& c : cases) {
    ShownFrame shown;
    std::vector<uint8_t> frame(w * h, 0);
    ASSERT_EQ(shown.Update(frame, w, h, palette).size(), 1u);
    for (const auto& [x, y] : c.changed) frame[static_cast<size_t>(y * w + x)] = 1;
    EXPECT_EQ(shown.Update(frame, w, h, palette), c.bands) << c.what;
    EXPECT_EQ(shown.Pixels(), frame) << c.what;
  }
}

TEST(ShownFrame, AnEmptyFrameHasNoBandAndOnlyTheRowsMarkedChangedAreCompared) {
  const Palette palette;
  ShownFrame shown;
  EXPECT_TRUE(shown.Update({}, 0, 5, palette).empty());
  EXPECT_TRUE(shown.Update({}, 5, 0, palette).empty());

  constexpr int32_t w = 40, h = 10;
  std::vector<uint8_t> frame(w * h, 0);
  shown.Update(frame, w, h, palette);
  frame[3 * w + 10] = frame[7 * w + 10] = 1;
  std::vector<uint8_t> rows(h, 0);
  rows[3] = 1;
  EXPECT_EQ(shown.Update(frame, w, h, palette, &rows), (std::vector<Band>{{10, 3, 11, 4}}));
  // Row 7 was not compared: it still differs.
  EXPECT_EQ(shown.Update(frame, w, h, palette), (std::vector<Band>{{10, 7, 11, 8}}));
  // Marks for another number of rows say nothing: every row is compared.
  frame[5 * w + 20] = 1;
  const std::vector<uint8_t> tooFew(h - 1, 0);
  EXPECT_EQ(shown.Update(frame, w, h, palette, &tooFew), (std::vector<Band>{{20, 5, 21, 6}}));
}

}  // namespace
}  // namespace media
