// Copies that would write the bytes already there are skipped, and the flip tells the
// screen which rows may have changed: neither may ever leave a stale pixel.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <numeric>
#include <vector>

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

TEST(FrameReuse, WhatIsDrawnBetweenTwoEqualCopiesIsCoveredAgain) {
  using S = SoftSurface;
  const auto other = Filled(100);
  other->SetColorKey(3);
  const std::function<void(S&, S&)> between[] = {
      [](S& b, S&) { b.DrawBox(2, 3, 9, 7); },
      [](S& b, S&) { b.DrawText(0, 0, "Ag"); },
      [](S& b, S&) { b.Pixels()[40] = 99; },
      [&](S& b, S&) { b.FastBlit(0, 0, *other, {}, BlitFlags::Wait); },
      [&](S& b, S&) { b.FastBlit(0, 0, *other, {}, BlitFlags::KeySrcWait); },
      [](S&, S& bg) { bg.Pixels()[20] = 77; },  // the copied picture changed
  };
  for (size_t i = 0; i < std::size(between); ++i) {
    SCOPED_TRACE(i);
    auto back = Filled(200), bg = Filled(10);
    ASSERT_TRUE(back->FastBlit(0, 0, *bg, {}, BlitFlags::Wait));
    between[i](*back, *bg);
    ASSERT_TRUE(back->FastBlit(0, 0, *bg, {}, BlitFlags::Wait));
    EXPECT_EQ(std::as_const(*back).Pixels(), std::as_const(*bg).Pixels());
  }
}

// Remembers the bands the shown frame would send for each flip.
struct BandsSeen : Presenter {
  ShownFrame shown;
  std::vector<Band> last;
  void Present(const std::vector<uint8_t>& pixels, int32_t w, int32_t h, const Palette& palette,
               const std::vector<uint8_t>* changedRows) override {
    last = shown.Update(pixels, w, h, palette, changedRows);
  }
};

TEST(FrameReuse, TheFlipSendsOnlyTheRowsThatChanged) {
  BandsSeen screen;
  SoftSurface primary(kW, kH, "primary");
  auto back = std::make_shared<SoftSurface>(kW, kH, "back");
  primary.AttachBackBuffer(back, &screen);
  auto bg = Filled(10);
  const auto frame = [&](const std::function<void()>& draw) {
    back->FastBlit(0, 0, *bg, {}, BlitFlags::Wait);
    draw();
    primary.Flip();
    EXPECT_EQ(screen.shown.Pixels(), std::as_const(*back).Pixels());
    return screen.last;
  };
  EXPECT_EQ(frame([] {}), (std::vector<Band>{{0, 0, kW, kH}}));
  EXPECT_TRUE(frame([] {}).empty());
  EXPECT_EQ(frame([&] { back->DrawBox(2, 3, 9, 6); }), (std::vector<Band>{{2, 3, 9, 6}}));
  EXPECT_EQ(frame([] {}), (std::vector<Band>{{2, 3, 9, 6}}));  // the box is gone again
  bg->Pixels()[kW * 10 + 4] = 1;
  EXPECT_EQ(frame([] {}), (std::vector<Band>{{4, 10, 5, 11}}));
}

}  // namespace
}  // namespace media
