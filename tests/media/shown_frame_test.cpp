// Tests of which parts of a new frame are sent to the screen again, beyond the bands of the
// pixels that changed (cases/screen.txt): a palette or a screen lost sends everything, and
// only the rows marked changed are compared.
#include "media/shown_frame.h"

#include <gtest/gtest.h>

namespace media {
namespace {

TEST(ShownFrame, APaletteOrAScreenLostSendsAllAndOnlyTheRowsMarkedChangedAreCompared) {
  constexpr int32_t w = 40, h = 10;
  std::array<Color, 256> colors{};
  colors[1] = {255, 0, 0};
  ShownFrame shown;
  EXPECT_TRUE(shown.Update({}, 0, 5, Palette(colors)).empty());
  EXPECT_TRUE(shown.Update({}, 5, 0, Palette(colors)).empty());
  std::vector<uint8_t> frame(w * h, 1);
  EXPECT_EQ(shown.Update(frame, w, h, Palette(colors)), (std::vector<Band>{{0, 0, w, h}}));
  EXPECT_TRUE(shown.Update(frame, w, h, Palette(colors)).empty());
  colors[1] = {0, 255, 0};
  EXPECT_EQ(shown.Update(frame, w, h, Palette(colors)), (std::vector<Band>{{0, 0, w, h}}));
  shown.Forget();
  EXPECT_EQ(shown.Update(frame, w, h, Palette(colors)), (std::vector<Band>{{0, 0, w, h}}));

  frame[3 * w + 10] = frame[7 * w + 10] = 0;
  std::vector<uint8_t> rows(h, 0);
  rows[3] = 1;
  EXPECT_EQ(shown.Update(frame, w, h, Palette(colors), &rows), (std::vector<Band>{{10, 3, 11, 4}}));
  // Row 7 was not compared: it still differs.
  EXPECT_EQ(shown.Update(frame, w, h, Palette(colors)), (std::vector<Band>{{10, 7, 11, 8}}));
  // Marks for another number of rows say nothing: every row is compared.
  frame[5 * w + 20] = 0;
  const std::vector<uint8_t> tooFew(h - 1, 0);
  EXPECT_EQ(shown.Update(frame, w, h, Palette(colors), &tooFew),
            (std::vector<Band>{{20, 5, 21, 6}}));
}

}  // namespace
}  // namespace media
