// The software surfaces at their edges: nearest palette entry, blits on and off the surface, the
// colour key, boxes and text and their clipping.
#include "media/surface.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "media/font.h"

namespace media {
namespace {

constexpr Color kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255};

// The given entries; all others black.
std::shared_ptr<Palette> MakePalette(std::initializer_list<std::pair<int, Color>> entries) {
  std::array<Color, 256> colors{};
  for (const auto& [index, color] : entries) colors[static_cast<size_t>(index)] = color;
  return std::make_shared<Palette>(colors);
}

// Entry i is grey level i, so that every index has its own colour.
const std::shared_ptr<Palette> kGrey = [] {
  std::array<Color, 256> colors{};
  for (int i = 0; i < 256; ++i) colors[i] = Color{uint8_t(i), uint8_t(i), uint8_t(i)};
  return std::make_shared<Palette>(colors);
}();

SoftSurface Blank(int32_t w, int32_t h, std::shared_ptr<Palette> palette, uint8_t index = 0) {
  SoftSurface s(w, h, "back");
  s.SetPalette(std::move(palette));
  std::fill(s.Pixels().begin(), s.Pixels().end(), index);
  return s;
}

size_t Count(const SoftSurface& s, uint8_t index) {
  return static_cast<size_t>(std::count(s.Pixels().begin(), s.Pixels().end(), index));
}

// A 5 x 4 grey source whose pixel (x, y) is 10 * y + x + 1.
std::shared_ptr<SoftSurface> Numbered() {
  auto s = std::make_shared<SoftSurface>(5, 4, "sprite");
  for (int32_t i = 0; i < 20; ++i) s->Pixels()[i] = static_cast<uint8_t>(10 * (i / 5) + i % 5 + 1);
  s->SetPalette(kGrey);
  return s;
}

TEST(Palette, NearestTakesTheSmallestDistanceAndTheLowestIndexOnATie) {
  const auto p = MakePalette(
      {{5, {9, 9, 9}}, {7, {9, 9, 9}}, {3, {0, 0, 100}}, {4, {0, 0, 120}}, {200, kBlue}});
  EXPECT_EQ(p->Nearest(MakeRgb(9, 9, 8)), 5);
  EXPECT_EQ(p->Nearest(MakeRgb(0, 0, 110)), 3);  // as far from 3 as from 4
  EXPECT_EQ(p->Nearest(MakeRgb(0, 0, 111)), 4);
  EXPECT_EQ(p->Nearest(0xFF0000), 200);  // blue is the high byte
  EXPECT_EQ(p->Nearest(0), 0);           // black: the unset entries, lowest first
}

TEST(FastBlit, DestinationMustLieWhollyOnTheSurface) {
  const auto src = Numbered();
  // x, y, drawn: flush with each edge, one pixel past it, far away.
  const int32_t cases[][3] = {{0, 3, 1},         {-1, 3, 0},       {7, 0, 1}, {7, -1, 0},
                              {15, 3, 1},        {16, 3, 0},       {7, 6, 1}, {7, 7, 0},
                              {INT32_MIN, 0, 0}, {INT32_MAX, 9, 0}};
  for (const auto& [x, y, drawn] : cases) {
    SoftSurface dst = Blank(20, 10, kGrey);
    EXPECT_EQ(dst.FastBlit(x, y, *src, Rect{}, BlitFlags::Wait), drawn != 0) << x << "," << y;
    EXPECT_EQ(Count(dst, 0), drawn ? 200u - 20u : 200u) << x << "," << y;
    EXPECT_TRUE(!drawn || dst.At(x + 4, y + 3) == src->At(4, 3)) << x << "," << y;
  }
}

TEST(FastBlit, CopiesTheSourceRectangleAndRefusesEmptyOrOutsideOnes) {
  const auto src = Numbered();
  SoftSurface dst = Blank(8, 6, kGrey);
  ASSERT_TRUE(dst.FastBlit(4, 3, *src, Rect{1, 1, 4, 3}, BlitFlags::Wait));
  for (int32_t y = 0; y < 6; ++y) {
    for (int32_t x = 0; x < 8; ++x) {
      const bool inside = x >= 4 && x < 7 && y >= 3 && y < 5;  // right and bottom exclusive
      EXPECT_EQ(dst.At(x, y), inside ? src->At(x - 3, y - 2) : 0) << x << "," << y;
    }
  }
  SoftSurface whole = Blank(5, 4, kGrey);
  EXPECT_TRUE(whole.FastBlit(0, 0, *src, Rect{}, BlitFlags::Wait));  // all zero: the whole source
  EXPECT_EQ(whole.Pixels(), src->Pixels());
  // Onto itself, overlapping: every row comes from the source as it was.
  const auto self = Numbered();
  ASSERT_TRUE(self->FastBlit(1, 1, *self, Rect{0, 0, 4, 3}, BlitFlags::Wait));
  for (int32_t y = 1; y < 4; ++y) EXPECT_EQ(self->At(4, y), src->At(3, y - 1)) << y;

  // Other rows of the same source copied to where earlier ones went: each row is written anew.
  SoftSurface again = Blank(5, 6, kGrey);
  ASSERT_TRUE(again.FastBlit(0, 2, *src, Rect{0, 1, 5, 2}, BlitFlags::Wait));
  ASSERT_TRUE(again.FastBlit(0, 1, *src, Rect{0, 2, 5, 4}, BlitFlags::Wait));
  for (int32_t x = 0; x < 5; ++x) {
    EXPECT_EQ(again.At(x, 1), src->At(x, 2)) << x;
    EXPECT_EQ(again.At(x, 2), src->At(x, 3)) << x;
  }

  // Empty ones, then ones reaching outside the source.
  const Rect refused[] = {
      {2, 0, 2, 4}, {0, 3, 5, 3},  {3, 0, 2, 4},  {0, 0, 6, 4},
      {0, 0, 5, 5}, {-1, 0, 3, 3}, {0, -1, 3, 3}, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}};
  for (const Rect& r : refused) {
    SoftSurface d = Blank(20, 10, kGrey);
    EXPECT_FALSE(d.FastBlit(2, 2, *src, r, BlitFlags::Wait)) << r.left << "," << r.top;
    EXPECT_EQ(Count(d, 0), 200u);
  }
}

TEST(FastBlit, TranslatesSpritePixelsToTheDestinationPalette) {
  SoftSurface src = Blank(4, 1, MakePalette({{1, kRed}, {2, kGreen}, {128, kBlue}}));
  src.Pixels() = {1, 2, 128, 0};
  SoftSurface dst = Blank(4, 1, MakePalette({{200, kRed}, {100, kGreen}, {60, kBlue}}), 9);
  ASSERT_TRUE(dst.FastBlit(0, 0, src, Rect{}, BlitFlags::Wait));
  EXPECT_EQ(dst.Pixels(), (std::vector<uint8_t>{200, 100, 60, 0}));
  // A palette changed in place is noticed.
  *dst.GetPalette() = *MakePalette({{30, kRed}, {40, kGreen}, {50, kBlue}});
  ASSERT_TRUE(dst.FastBlit(0, 0, src, Rect{}, BlitFlags::Wait));
  EXPECT_EQ(dst.Pixels(), (std::vector<uint8_t>{30, 40, 50, 0}));
  // Keyed too: the key's pixels leave the destination as it was, and nothing past the
  // rectangle is written.
  src.SetColorKey(2);
  SoftSurface wide = Blank(6, 1, MakePalette({{200, kRed}, {100, kGreen}, {60, kBlue}}), 9);
  ASSERT_TRUE(wide.FastBlit(1, 0, src, Rect{0, 0, 3, 1}, BlitFlags::KeySrcWait));
  EXPECT_EQ(wide.Pixels(), (std::vector<uint8_t>{9, 200, 9, 60, 9, 9}));
  // A plain copy takes the key's pixels too.
  ASSERT_TRUE(wide.FastBlit(1, 0, src, Rect{0, 0, 3, 1}, BlitFlags::Wait));
  EXPECT_EQ(wide.Pixels(), (std::vector<uint8_t>{9, 200, 100, 60, 9, 9}));
}

TEST(DrawBox, OutlineInForeInsideInFillRightAndBottomExclusiveClippedAtEveryEdge) {
  // A 10 x 6 surface of '.' with fore red 'R' and fill green 'g'.
  SoftSurface surface = Blank(10, 6, MakePalette({{3, kBlue}, {4, kRed}, {5, kGreen}}), 3);
  surface.SetForeColor(MakeRgb(250, 0, 0));
  surface.SetFillColor(MakeRgb(0, 240, 10));
  const auto picture = [&] {
    std::vector<std::string> rows(6);
    for (int32_t i = 0; i < 60; ++i) {
      const uint8_t v = surface.Pixels()[i];
      rows[i / 10] += v >= 3 && v <= 5 ? ".Rg"[v - 3] : '?';
    }
    return rows;
  };
  surface.DrawBox(2, 1, 7, 5);
  surface.DrawBox(8, 1, 8, 5);  // empty
  EXPECT_EQ(picture(), (std::vector<std::string>{"..........", "..RRRRR...", "..RgggR...",
                                                 "..RgggR...", "..RRRRR...", ".........."}));
  surface.DrawBox(-3, -2, 4, 3);
  surface.DrawBox(7, 3, 12, 9);
  EXPECT_EQ(picture(), (std::vector<std::string>{"gggR......", "gggRRRR...", "RRRRggR...",
                                                 "..RgggRRRR", "..RRRRRRgg", ".......Rgg"}));
  surface.DrawBox(12, 0, 20, 6);  // wholly right of the surface, beside its rows
  surface.DrawBox(0, 5, 1, 6);    // one pixel
  EXPECT_EQ(picture(), (std::vector<std::string>{"gggR......", "gggRRRR...", "RRRRggR...",
                                                 "..RgggRRRR", "..RRRRRRgg", "R......Rgg"}));
  surface.DrawBox(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
  EXPECT_EQ(Count(surface, 5), 60u);
  EXPECT_THROW(SoftSurface(4, -1, "negative"), PlatformError);
  EXPECT_THROW(SoftSurface(-1, 4, "negative"), PlatformError);
  EXPECT_NO_THROW(SoftSurface(0, 0, "empty"));
  // Far below a wide surface of one row: only that row is written.
  SoftSurface row = Blank(4096, 1, surface.GetPalette(), 3);
  row.SetForeColor(MakeRgb(250, 0, 0));
  row.DrawBox(0, 0, 4096, 100);
  EXPECT_EQ(Count(row, 4), 4096u);
}

// Paper is index 9, white ink index 4. The same surface draws the same line again and again:
// kept lines must follow the place and the cut at each edge; the rest shows through.
TEST(DrawText, GlyphInkTakesTheForeColourWhereverTheLineIsDrawnOrCut) {
  constexpr uint8_t kPaper = 9, kInk = 4;
  std::array<Color, 256> colors{};
  colors[kPaper] = Color{0, 0, 200};
  colors[kInk] = Color{250, 250, 250};
  SoftSurface surface(64, 40, "back");
  surface.SetPalette(std::make_shared<Palette>(colors));
  surface.SetForeColor(MakeRgb(255, 255, 255));
  const Font* font = EmbeddedFont();
  ASSERT_TRUE(font);
  const Glyph* a = font->Find('A');
  const Glyph* g = font->Find('g');
  ASSERT_TRUE(a && g);
  for (const auto& [px, py] : {std::pair{3, 5}, {-5, 5}, {50, 30}, {3, -9}, {60, 5}, {3, 5}}) {
    std::fill(surface.Pixels().begin(), surface.Pixels().end(), kPaper);
    surface.DrawText(px, py, "Ag");
    int wrong = 0;
    for (int32_t y = 0; y < surface.Height(); ++y) {
      for (int32_t x = 0; x < surface.Width(); ++x) {
        const int32_t gy = y - py;
        const bool row = gy >= 0 && gy < 16;
        const bool inA = row && x >= px && x < px + 8 && a->Ink(x - px, gy);
        const bool inG = row && x >= px + 8 && x < px + 16 && g->Ink(x - px - 8, gy);
        wrong += surface.At(x, y) != (inA || inG ? kInk : kPaper);
      }
    }
    EXPECT_EQ(wrong, 0) << "at " << px << "," << py;
  }
  EXPECT_GT(std::count(surface.Pixels().begin(), surface.Pixels().end(), kInk), 20);
}

}  // namespace
}  // namespace media
