// Copies that would write the bytes already there are skipped, the flip tells the screen which
// rows may have changed, and of those only the parts that changed are sent again (beyond the
// bands of changed pixels: cases/screen.txt): none may ever leave a stale pixel.
#include <gtest/gtest.h>

#include <numeric>

#include "media/shown_frame.h"
#include "media/surface.h"

namespace media {
namespace {

constexpr int32_t kW = 16, kH = 12;

std::shared_ptr<SoftSurface> Filled(uint8_t first) {
  auto s = std::make_shared<SoftSurface>(kW, kH, "picture");
  std::iota(s->Pixels().begin(), s->Pixels().end(), first);
  return s;
}

// Remembers which rows the flip said may have changed.
struct RowsSeen : Presenter {
  std::vector<uint8_t> changed;
  void Present(const std::vector<uint8_t>&, int32_t, int32_t, const Palette&,
               const std::vector<uint8_t>* changedRows) override {
    changed = changedRows ? *changedRows : std::vector<uint8_t>{};
  }
};

// Each frame draws one thing, then copies the picture into a middle surface and that into the
// back buffer: what was drawn is covered again, and the flip marks the rows written again since
// the last, and no others. Drawing that writes nothing (off the surface, or empty) leaves every
// copy the same bytes as before.
TEST(FrameReuse, TheFlipMarksTheRowsWrittenAndOnlyThem) {
  using S = SoftSurface;
  const auto other = Filled(100);
  other->SetColorKey(3);
  const auto black = std::make_shared<Palette>();
  const std::vector<int32_t> all = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  const struct {
    const char* what;
    std::function<void(S& middle, S& back)> draw;
    std::vector<int32_t> rows;
  } cases[] = {
      {"nothing", [](S&, S&) {}, {}},
      {"a box", [](S&, S& b) { b.DrawBox(2, 3, 9, 6); }, {3, 4, 5}},
      {"a box beside the surface", [](S&, S& b) { b.DrawBox(kW, 0, kW + 5, 5); }, {}},
      {"an empty box", [](S&, S& b) { b.DrawBox(4, 4, 4, 9); }, {}},
      {"text cut at the bottom", [](S&, S& b) { b.DrawText(0, kH - 3, "Ag"); }, {9, 10, 11}},
      {"text just below", [](S&, S& b) { b.DrawText(0, kH, "Ag"); }, {}},
      {"text just above", [](S&, S& b) { b.DrawText(0, -16, "Ag"); }, {}},
      {"a keyed blit",
       [&](S&, S& b) {
         b.FastBlit(0, 5, *other, {0, 0, 4, 2}, BlitFlags::KeySrcWait);
       },
       {5, 6}},
      {"a blit from another palette",
       [&](S&, S& b) {
         S odd(4, 1, "odd");
         odd.SetPalette(black);
         odd.Pixels()[0] = 1;
         b.FastBlit(2, 7, odd, {}, BlitFlags::Wait);
       },
       {7}},
      {"a refused blit", [&](S&, S& b) { b.FastBlit(kW, 0, *other, {}, BlitFlags::Wait); }, {}},
      {"a blit", [&](S&, S& b) { b.FastBlit(0, 0, *other, {}, BlitFlags::Wait); }, all},
      {"the middle copied keyed: its key's pixels left as they were",
       [](S& m, S& b) {
         b.DrawBox(0, 0, kW, kH);
         m.SetColorKey(15);
         b.FastBlit(0, 0, m, {}, BlitFlags::KeySrcWait);
       },
       all},
      {"a pixel written", [](S&, S& b) { b.Pixels()[40] = 99; }, all},
      {"the middle's pixels", [](S& m, S&) { m.Pixels(); }, all},
      {"text below the middle", [](S& m, S&) { m.DrawText(0, kH, "A"); }, {}},
  };
  const auto palette = std::make_shared<Palette>(std::array<Color, 256>{Color{1, 2, 3}});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RowsSeen screen;
    SoftSurface primary(kW, kH, "primary");
    auto back = std::make_shared<SoftSurface>(kW, kH, "back");
    primary.AttachBackBuffer(back, &screen);
    primary.SetPalette(palette);
    auto bg = Filled(10), middle = Filled(0);
    bg->SetPalette(palette);
    middle->SetPalette(palette);
    const auto frame = [&](const std::function<void(S&, S&)>& draw) {
      draw(*middle, *back);
      middle->FastBlit(0, 0, *bg, {}, BlitFlags::Wait);
      back->FastBlit(0, 0, *middle, {}, BlitFlags::Wait);
      primary.Flip();
      std::vector<int32_t> rows;
      for (int32_t y = 0; y < static_cast<int32_t>(screen.changed.size()); ++y) {
        if (screen.changed[static_cast<size_t>(y)]) rows.push_back(y);
      }
      return rows;
    };
    EXPECT_EQ(frame([](S&, S&) {}), all);
    EXPECT_EQ(frame([](S&, S&) {}), std::vector<int32_t>{});
    EXPECT_EQ(frame(c.draw), c.rows);
    EXPECT_EQ(std::as_const(*back).Pixels(), std::as_const(*bg).Pixels());
  }
}

// A palette or a screen lost sends everything, and only the rows marked changed are compared.
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
