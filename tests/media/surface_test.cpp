// The software surfaces at their edges: nearest palette entry, blits onto themselves, the colour
// key, text and its clipping (where blits go, and boxes: cases/surface.txt).
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

// Where a copy goes and which part of the picture it takes: cases/surface.txt.
TEST(FastBlit, CopiesOntoItselfAndRowsOfTheSameSourceAgain) {
  const auto src = Numbered();
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
