// Tests of the software surfaces: palette lookup, blits, boxes, colour state and the flip chain.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>
#include <string>
#include <vector>

#include "media/surface.h"

namespace media {
namespace {

constexpr Color kBlack{0, 0, 0};
constexpr Color kRed{255, 0, 0};
constexpr Color kGreen{0, 255, 0};
constexpr Color kBlue{0, 0, 255};
constexpr Color kWhite{255, 255, 255};

// A palette with the given entries; all others black.
std::shared_ptr<Palette> MakePalette(std::initializer_list<std::pair<int, Color>> entries) {
  std::array<Color, 256> colors{};
  for (const auto& [index, color] : entries) colors[static_cast<size_t>(index)] = color;
  return std::make_shared<Palette>(colors);
}

// Entry i is grey level i, so every index has its own colour.
std::shared_ptr<Palette> GreyPalette() {
  std::array<Color, 256> colors{};
  for (int i = 0; i < 256; ++i) {
    const auto v = static_cast<uint8_t>(i);
    colors[static_cast<size_t>(i)] = Color{v, v, v};
  }
  return std::make_shared<Palette>(colors);
}

struct OpLog : SurfaceObserver {
  void OnSurfaceOp(const SurfaceOp& op) override { ops.push_back(op); }
  std::vector<SurfaceOp> ops;
};

void Fill(SoftSurface& s, uint8_t index) { std::fill(s.Pixels().begin(), s.Pixels().end(), index); }

// A source whose pixel (x, y) is 10 * y + x + 1, so each pixel is traceable.
std::shared_ptr<SoftSurface> Numbered(int32_t w, int32_t h, std::shared_ptr<Palette> palette) {
  auto s = std::make_shared<SoftSurface>(w, h, "sprite");
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x)
      s->Pixels()[static_cast<size_t>(y * w + x)] = static_cast<uint8_t>(10 * y + x + 1);
  }
  s->SetPalette(std::move(palette));
  return s;
}

// The surface as rows of characters through a map of index to character
// ('?' for indices not in the map), for comparing small pictures.
std::vector<std::string> Picture(const SoftSurface& s, const std::map<uint8_t, char>& chars) {
  std::vector<std::string> rows;
  for (int32_t y = 0; y < s.Height(); ++y) {
    std::string row;
    for (int32_t x = 0; x < s.Width(); ++x) {
      const auto it = chars.find(s.At(x, y));
      row += it == chars.end() ? '?' : it->second;
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(Palette, NearestTakesSmallestDistanceAndLowestIndexOnTie) {
  const auto p = MakePalette({{5, Color{10, 10, 10}},
                              {7, Color{10, 10, 10}},
                              {9, kRed},
                              {3, Color{0, 0, 100}},
                              {4, Color{0, 0, 120}},
                              {200, kWhite}});
  EXPECT_EQ(p->Nearest(MakeRgb(9, 9, 9)), 5);  // 5 and 7 are equal: lowest wins
  EXPECT_EQ(p->Nearest(MakeRgb(250, 10, 0)), 9);
  EXPECT_EQ(p->Nearest(MakeRgb(0, 0, 110)), 3);  // equally far from 3 and 4
  EXPECT_EQ(p->Nearest(MakeRgb(0, 0, 111)), 4);
  EXPECT_EQ(p->Nearest(MakeRgb(255, 255, 255)), 200);
  EXPECT_EQ(p->Nearest(MakeRgb(0, 0, 0)), 0);  // black: the unset entries, lowest first
  // Red, green and blue are weighed by their own byte of the colour number.
  const auto rgb = MakePalette({{1, kRed}, {2, kGreen}, {3, kBlue}});
  EXPECT_EQ(rgb->Nearest(0x0000FF), 1);
  EXPECT_EQ(rgb->Nearest(0x00FF00), 2);
  EXPECT_EQ(rgb->Nearest(0xFF0000), 3);
}

// --- fast blit -------------------------------------------------------------

struct EdgeCase {
  const char* name;
  int32_t x, y;
  bool drawn;
};

TEST(FastBlit, DestinationMustLieWhollyOnTheSurface) {
  const auto grey = GreyPalette();
  const auto src = Numbered(5, 4, grey);
  const EdgeCase cases[] = {
      {"flush left", 0, 3, true},
      {"one off left", -1, 3, false},
      {"flush top", 7, 0, true},
      {"one off top", 7, -1, false},
      {"flush right", 15, 3, true},
      {"one off right", 16, 3, false},
      {"flush bottom", 7, 6, true},
      {"one off bottom", 7, 7, false},
      {"far away", 1000, 1000, false},
      {"huge negative", INT32_MIN, INT32_MIN, false},
      {"huge positive", INT32_MAX, INT32_MAX, false},
  };
  for (const EdgeCase& c : cases) {
    SCOPED_TRACE(c.name);
    SoftSurface dst(20, 10, "back");
    dst.SetPalette(grey);
    Fill(dst, 0);
    EXPECT_EQ(dst.FastBlit(c.x, c.y, *src, Rect{}, BlitFlags::Wait), c.drawn);
    if (c.drawn) {
      for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 5; ++x) ASSERT_EQ(dst.At(c.x + x, c.y + y), src->At(x, y));
      }
      EXPECT_EQ(std::count(dst.Pixels().begin(), dst.Pixels().end(), 0), 200 - 20);
    } else {
      EXPECT_EQ(std::count(dst.Pixels().begin(), dst.Pixels().end(), 0), 200) << "copied a part";
    }
  }
}

TEST(FastBlit, EmptyOrOutOfSourceRectanglesCopyNothing) {
  const auto grey = GreyPalette();
  const auto src = Numbered(5, 4, grey);
  const Rect refused[] = {
      {2, 0, 2, 4},   // left == right
      {0, 3, 5, 3},   // top == bottom
      {3, 0, 2, 4},   // left > right
      {0, 4, 5, 1},   // top > bottom
      {0, 0, 6, 4},   // right beyond the source
      {0, 0, 5, 5},   // bottom beyond the source
      {-1, 0, 3, 3},  // left before the source
      {0, -1, 3, 3},  // top above the source
      {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX},
  };
  for (const Rect& r : refused) {
    SCOPED_TRACE(::testing::Message()
                 << r.left << "," << r.top << "," << r.right << "," << r.bottom);
    SoftSurface dst(20, 10, "back");
    dst.SetPalette(grey);
    EXPECT_FALSE(dst.FastBlit(2, 2, *src, r, BlitFlags::Wait));
    EXPECT_EQ(std::count(dst.Pixels().begin(), dst.Pixels().end(), 0), 200);
  }
}

TEST(FastBlit, CopiesTheSourceRectangleWithRightAndBottomExclusive) {
  const auto grey = GreyPalette();
  const auto src = Numbered(5, 4, grey);
  SoftSurface dst(8, 6, "back");
  dst.SetPalette(grey);
  ASSERT_TRUE(dst.FastBlit(4, 3, *src, Rect{1, 1, 4, 3}, BlitFlags::Wait));
  for (int32_t y = 0; y < 6; ++y) {
    for (int32_t x = 0; x < 8; ++x) {
      const bool inside = x >= 4 && x < 7 && y >= 3 && y < 5;
      EXPECT_EQ(dst.At(x, y), inside ? src->At(x - 3, y - 2) : 0) << x << "," << y;
    }
  }
  // A rectangle of the whole source, given explicitly, is the same as all zero.
  SoftSurface a(5, 4, "a"), b(5, 4, "b");
  a.SetPalette(grey);
  b.SetPalette(grey);
  EXPECT_TRUE(a.FastBlit(0, 0, *src, Rect{}, BlitFlags::Wait));
  EXPECT_TRUE(b.FastBlit(0, 0, *src, Rect{0, 0, 5, 4}, BlitFlags::Wait));
  EXPECT_EQ(a.Pixels(), src->Pixels());
  EXPECT_EQ(b.Pixels(), src->Pixels());
}

TEST(FastBlit, OnlyTheSourceKeyIndexIsTransparent) {
  // Indices 127, 128 and 129 are all pure blue; only 128 is the key.
  const auto pal = MakePalette({{1, kWhite}, {127, kBlue}, {128, kBlue}, {129, kBlue}, {50, kRed}});
  auto src = std::make_shared<SoftSurface>(4, 1, "sprite");
  src->Pixels() = {127, 128, 129, 1};
  src->SetPalette(pal);
  src->SetColorKey(128);

  SoftSurface keyed(4, 1, "back");
  keyed.SetPalette(pal);
  Fill(keyed, 50);
  ASSERT_TRUE(keyed.FastBlit(0, 0, *src, Rect{}, BlitFlags::KeySrcWait));
  EXPECT_EQ(keyed.Pixels(), (std::vector<uint8_t>{127, 50, 129, 1}));

  SoftSurface plain(4, 1, "back");
  plain.SetPalette(pal);
  Fill(plain, 50);
  ASSERT_TRUE(plain.FastBlit(0, 0, *src, Rect{}, BlitFlags::Wait));
  EXPECT_EQ(plain.Pixels(), (std::vector<uint8_t>{127, 128, 129, 1}));

  // The destination's own colour key plays no part.
  SoftSurface withKey(4, 1, "back");
  withKey.SetPalette(pal);
  withKey.SetColorKey(1);
  ASSERT_TRUE(withKey.FastBlit(0, 0, *src, Rect{}, BlitFlags::KeySrcWait));
  EXPECT_EQ(withKey.Pixels(), (std::vector<uint8_t>{127, 0, 129, 1}));

  // A source without a key copies everything even when asked for keying.
  auto unkeyed = std::make_shared<SoftSurface>(4, 1, "sprite");
  unkeyed->Pixels() = {127, 128, 129, 1};
  unkeyed->SetPalette(pal);
  SoftSurface dst(4, 1, "back");
  dst.SetPalette(pal);
  ASSERT_TRUE(dst.FastBlit(0, 0, *unkeyed, Rect{}, BlitFlags::KeySrcWait));
  EXPECT_EQ(dst.Pixels(), unkeyed->Pixels());
}

TEST(FastBlit, TranslatesColoursToTheDestinationPalette) {
  const auto srcPal =
      MakePalette({{1, kRed}, {2, kGreen}, {3, Color{250, 250, 250}}, {128, kBlue}});
  const auto dstPal =
      MakePalette({{200, kRed}, {100, kGreen}, {7, kWhite}, {128, Color{0, 0, 250}}, {60, kBlue}});
  auto src = std::make_shared<SoftSurface>(5, 1, "sprite");
  src->Pixels() = {1, 2, 3, 128, 0};
  src->SetPalette(srcPal);
  SoftSurface dst(5, 1, "back");
  dst.SetPalette(dstPal);
  Fill(dst, 9);
  ASSERT_TRUE(dst.FastBlit(0, 0, *src, Rect{}, BlitFlags::Wait));
  EXPECT_EQ(dst.Pixels(), (std::vector<uint8_t>{200, 100, 7, 60, 0}));

  // The key is the source's index, before translation: source 128 is
  // skipped, and source 4, which translates to the destination's 128, is drawn.
  const auto keyPal = MakePalette({{4, Color{0, 0, 250}}, {128, kBlue}});
  auto keyed = std::make_shared<SoftSurface>(2, 1, "sprite");
  keyed->Pixels() = {128, 4};
  keyed->SetPalette(keyPal);
  keyed->SetColorKey(128);
  Fill(dst, 9);
  ASSERT_TRUE(dst.FastBlit(0, 0, *keyed, Rect{}, BlitFlags::KeySrcWait));
  EXPECT_EQ(dst.At(0, 0), 9);
  EXPECT_EQ(dst.At(1, 0), 128);
}

TEST(FastBlit, TranslationFollowsPaletteChanges) {
  auto src = std::make_shared<SoftSurface>(1, 1, "sprite");
  src->Pixels() = {1};
  src->SetPalette(MakePalette({{1, kRed}}));
  SoftSurface dst(1, 1, "back");
  dst.SetPalette(MakePalette({{10, kRed}, {20, kGreen}}));
  ASSERT_TRUE(dst.FastBlit(0, 0, *src, Rect{}, BlitFlags::Wait));
  EXPECT_EQ(dst.At(0, 0), 10);

  dst.SetPalette(MakePalette({{30, kRed}}));
  ASSERT_TRUE(dst.FastBlit(0, 0, *src, Rect{}, BlitFlags::Wait));
  EXPECT_EQ(dst.At(0, 0), 30);

  src->SetPalette(MakePalette({{1, kGreen}}));
  dst.SetPalette(MakePalette({{30, kRed}, {40, kGreen}}));
  ASSERT_TRUE(dst.FastBlit(0, 0, *src, Rect{}, BlitFlags::Wait));
  EXPECT_EQ(dst.At(0, 0), 40);

  // A palette changed in place (same object, new colours) is noticed too.
  auto shared = MakePalette({{1, kRed}});
  src->SetPalette(shared);
  ASSERT_TRUE(dst.FastBlit(0, 0, *src, Rect{}, BlitFlags::Wait));
  EXPECT_EQ(dst.At(0, 0), 30);
  *shared = *MakePalette({{1, kGreen}});
  ASSERT_TRUE(dst.FastBlit(0, 0, *src, Rect{}, BlitFlags::Wait));
  EXPECT_EQ(dst.At(0, 0), 40);

  // Sources with different palettes in turn each get their own colours.
  auto other = std::make_shared<SoftSurface>(1, 1, "background");
  other->Pixels() = {1};
  other->SetPalette(MakePalette({{1, kRed}}));
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(dst.FastBlit(0, 0, *other, Rect{}, BlitFlags::Wait));
    EXPECT_EQ(dst.At(0, 0), 30);
    ASSERT_TRUE(dst.FastBlit(0, 0, *src, Rect{}, BlitFlags::Wait));
    EXPECT_EQ(dst.At(0, 0), 40);
  }
}

TEST(FastBlit, SurfacesWithoutPaletteCountAsBlack) {
  auto src = std::make_shared<SoftSurface>(2, 1, "sprite");
  src->Pixels() = {5, 6};
  SoftSurface same(2, 1, "back");  // both black: indices are kept
  ASSERT_TRUE(same.FastBlit(0, 0, *src, Rect{}, BlitFlags::Wait));
  EXPECT_EQ(same.Pixels(), src->Pixels());

  SoftSurface coloured(2, 1, "back");  // black maps to the first black entry
  coloured.SetPalette(MakePalette({{0, kWhite}, {1, kWhite}, {2, kBlack}}));
  ASSERT_TRUE(coloured.FastBlit(0, 0, *src, Rect{}, BlitFlags::Wait));
  EXPECT_EQ(coloured.Pixels(), (std::vector<uint8_t>{2, 2}));
}

TEST(FastBlit, OverlappingCopyWithinOneSurfaceReadsTheOriginal) {
  const auto grey = GreyPalette();
  auto s = Numbered(6, 3, grey);
  const auto before = *s;
  ASSERT_TRUE(s->FastBlit(1, 0, *s, Rect{0, 0, 5, 3}, BlitFlags::Wait));
  for (int32_t y = 0; y < 3; ++y) {
    EXPECT_EQ(s->At(0, y), before.At(0, y));
    for (int32_t x = 1; x < 6; ++x) EXPECT_EQ(s->At(x, y), before.At(x - 1, y));
  }
}

TEST(FastBlit, ReportsEachBlitToTheObserver) {
  const auto grey = GreyPalette();
  const auto src = Numbered(5, 4, grey);
  SoftSurface dst(20, 10, "back");
  dst.SetPalette(grey);
  OpLog log;
  dst.SetObserver(&log);
  dst.FastBlit(3, 4, *src, Rect{}, BlitFlags::Wait);
  dst.FastBlit(-1, 2, *src, Rect{1, 1, 3, 3}, BlitFlags::KeySrcWait);
  ASSERT_EQ(log.ops.size(), 2u);
  const SurfaceOp& a = log.ops[0];
  EXPECT_EQ(a.kind, SurfaceOp::Kind::Blit);
  EXPECT_EQ(a.x, 3);
  EXPECT_EQ(a.y, 4);
  EXPECT_EQ(a.src, "sprite");
  EXPECT_EQ(a.rect, Rect{});  // as passed, not the resolved whole source
  EXPECT_EQ(a.flags, 16);
  EXPECT_TRUE(a.drawn);
  const SurfaceOp& b = log.ops[1];
  EXPECT_EQ(b.x, -1);
  EXPECT_EQ(b.rect, (Rect{1, 1, 3, 3}));
  EXPECT_EQ(b.flags, 17);
  EXPECT_FALSE(b.drawn);
}

// --- boxes -----------------------------------------------------------------

class BoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    surface.SetPalette(MakePalette({{0, kBlack}, {1, kRed}, {2, kGreen}, {3, kBlue}}));
    Fill(surface, 3);
    surface.SetForeColor(MakeRgb(250, 0, 0));
    surface.SetFillColor(MakeRgb(0, 240, 10));
  }
  std::vector<std::string> Pic() const {
    return Picture(surface, {{0, 'k'}, {1, 'R'}, {2, 'g'}, {3, '.'}});
  }
  SoftSurface surface{10, 6, "back"};
};

TEST_F(BoxTest, OutlineInForeAndInsideInFillCoveringX1ToX2MinusOne) {
  surface.DrawBox(2, 1, 7, 5);
  EXPECT_EQ(Pic(), (std::vector<std::string>{
                       "..........",
                       "..RRRRR...",
                       "..RgggR...",
                       "..RgggR...",
                       "..RRRRR...",
                       "..........",
                   }));
}

TEST_F(BoxTest, ThinBoxesAreAllOutline) {
  surface.DrawBox(1, 1, 2, 5);  // one pixel wide
  surface.DrawBox(4, 2, 9, 3);  // one pixel high
  surface.DrawBox(5, 4, 7, 6);  // two by two
  EXPECT_EQ(Pic(), (std::vector<std::string>{
                       "..........",
                       ".R........",
                       ".R..RRRRR.",
                       ".R........",
                       ".R...RR...",
                       ".....RR...",
                   }));
}

TEST_F(BoxTest, EmptyBoxesDrawNothing) {
  surface.DrawBox(3, 1, 3, 5);
  surface.DrawBox(3, 4, 6, 4);
  surface.DrawBox(6, 1, 2, 5);
  EXPECT_EQ(std::count(surface.Pixels().begin(), surface.Pixels().end(), 3), 60);
}

TEST_F(BoxTest, ClippedAtEveryEdge) {
  surface.DrawBox(-3, -2, 4, 3);  // left and top outline off the surface
  surface.DrawBox(7, 3, 12, 9);   // right and bottom outline off the surface
  EXPECT_EQ(Pic(), (std::vector<std::string>{
                       "gggR......",
                       "gggR......",
                       "RRRR......",
                       ".......RRR",
                       ".......Rgg",
                       ".......Rgg",
                   }));
  // A box larger than any surface fills it without touching memory outside.
  surface.DrawBox(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
  EXPECT_EQ(std::count(surface.Pixels().begin(), surface.Pixels().end(), 2), 60);
  // Boxes wholly outside draw nothing.
  Fill(surface, 3);
  surface.DrawBox(-10, 0, 0, 6);
  surface.DrawBox(10, 0, 20, 6);
  surface.DrawBox(0, 6, 10, 9);
  EXPECT_EQ(std::count(surface.Pixels().begin(), surface.Pixels().end(), 3), 60);
}

TEST(ColourState, ForeAndFillStayInForceUntilSetAgain) {
  SoftSurface s(4, 3, "back");
  s.SetPalette(MakePalette({{0, kBlack}, {1, kRed}, {2, kGreen}, {3, kBlue}, {4, kWhite}}));
  EXPECT_EQ(s.ForeColor(), kInitialForeColor);
  EXPECT_EQ(s.FillColor(), kInitialFillColor);
  s.DrawBox(0, 0, 3, 3);  // initial colours: black outline, white inside
  EXPECT_EQ(s.At(0, 0), 0);
  EXPECT_EQ(s.At(1, 1), 4);

  s.SetForeColor(MakeRgb(255, 0, 0));
  s.DrawBox(0, 0, 3, 3);
  s.DrawBox(0, 0, 3, 3);  // still red and white on the second box
  EXPECT_EQ(s.At(0, 0), 1);
  EXPECT_EQ(s.At(1, 1), 4);
  s.SetFillColor(MakeRgb(0, 0, 255));  // changes only the fill
  s.DrawBox(0, 0, 3, 3);
  EXPECT_EQ(s.At(0, 0), 1);
  EXPECT_EQ(s.At(1, 1), 3);
  EXPECT_EQ(s.ForeColor(), MakeRgb(255, 0, 0));
  EXPECT_EQ(s.FillColor(), MakeRgb(0, 0, 255));
}

TEST(ColourState, ObserverSeesColourChangesAndBoxesWithTheColoursInForce) {
  SoftSurface s(4, 3, "back");
  OpLog log;
  s.SetObserver(&log);
  s.SetForeColor(MakeRgb(1, 2, 3));
  s.DrawBox(0, 1, 2, 3);
  s.SetFillColor(MakeRgb(4, 5, 6));
  s.DrawBox(-5, -5, -9, -9);  // empty and off the surface: still reported
  ASSERT_EQ(log.ops.size(), 4u);
  EXPECT_EQ(log.ops[0].kind, SurfaceOp::Kind::Fore);
  EXPECT_EQ(log.ops[0].rgb, MakeRgb(1, 2, 3));
  EXPECT_EQ(log.ops[1].kind, SurfaceOp::Kind::Box);
  EXPECT_EQ(log.ops[1].rect, (Rect{0, 1, 2, 3}));
  EXPECT_EQ(log.ops[1].fore, MakeRgb(1, 2, 3));
  EXPECT_EQ(log.ops[1].fill, kInitialFillColor);
  EXPECT_EQ(log.ops[2].kind, SurfaceOp::Kind::Fill);
  EXPECT_EQ(log.ops[2].rgb, MakeRgb(4, 5, 6));
  EXPECT_EQ(log.ops[3].rect, (Rect{-5, -5, -9, -9}));
  EXPECT_EQ(log.ops[3].fill, MakeRgb(4, 5, 6));
}

// --- flip chain --------------------------------------------------------------

struct RecordingPresenter : Presenter {
  void Present(const std::vector<uint8_t>& p, int32_t w, int32_t h, const Palette& pal) override {
    pixels = p;
    width = w;
    height = h;
    palette = pal;
    ++count;
  }
  std::vector<uint8_t> pixels;
  int32_t width = 0, height = 0;
  Palette palette;
  int count = 0;
};

TEST(FlipChain, FlipPresentsTheBackBufferThroughThePrimaryPalette) {
  RecordingPresenter presenter;
  SoftSurface primary(4, 2, "primary");
  auto back = std::make_shared<SoftSurface>(4, 2, "back");
  primary.AttachBackBuffer(back, &presenter);
  EXPECT_EQ(primary.GetAttachedSurface(), back);

  const auto pal = MakePalette({{1, kRed}});
  primary.SetPalette(pal);
  EXPECT_EQ(back->GetPalette(), pal);  // the back buffer shows through the same palette

  OpLog log;
  primary.SetObserver(&log);
  back->Pixels() = {1, 2, 3, 4, 5, 6, 7, 8};
  primary.Flip();
  EXPECT_EQ(presenter.count, 1);
  EXPECT_EQ(presenter.pixels, back->Pixels());
  EXPECT_EQ(presenter.width, 4);
  EXPECT_EQ(presenter.height, 2);
  EXPECT_EQ(presenter.palette.Colors(), pal->Colors());
  ASSERT_EQ(log.ops.size(), 1u);
  EXPECT_EQ(log.ops[0].kind, SurfaceOp::Kind::Flip);
}

TEST(FlipChain, PrimaryWithoutPaletteShowsTheBackBufferPalette) {
  RecordingPresenter presenter;
  SoftSurface primary(2, 1, "primary");
  auto back = std::make_shared<SoftSurface>(2, 1, "back");
  const auto pal = MakePalette({{9, kGreen}});
  back->SetPalette(pal);
  primary.AttachBackBuffer(back, &presenter);
  primary.Flip();
  EXPECT_EQ(presenter.palette.Colors(), pal->Colors());
}

TEST(FlipChain, SurfacesOutsideAChainRefuseFlipAndAttachedSurface) {
  SoftSurface plain(2, 2, "background");
  EXPECT_THROW(plain.Flip(), PlatformError);
  EXPECT_THROW(plain.GetAttachedSurface(), PlatformError);
  try {
    plain.Flip();
  } catch (const PlatformError& e) {
    EXPECT_STREQ(e.what(), "flip on a surface that is not a flip chain");
  }
}

}  // namespace
}  // namespace media
