// Tests of the present path: where the picture lies, and the one-pass palette and scaling
// conversion checked pixel by pixel.
#include "media/frame_scaler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "media/shown_frame.h"

namespace media {
namespace {

constexpr int32_t kW = 640;
constexpr int32_t kH = 480;

TEST(PlacePicture, AsLargeAsItFitsInItsOwnShapeCentred) {
  struct Case {
    int32_t w, h;
    Placement want;
  };
  const Case cases[] = {
      {640, 480, {0, 0, 640, 480}},       {1024, 768, {0, 0, 1024, 768}},  // 1.6x
      {1366, 768, {171, 0, 1024, 768}},    // 1.6x, bars at the sides
      {1920, 1080, {240, 0, 1440, 1080}},  // 2.25x
      {1280, 1024, {0, 32, 1280, 960}},    // 2x, bars above and below
      {1600, 1200, {0, 0, 1600, 1200}},   {1000, 500, {167, 0, 666, 500}},
      {900, 1000, {0, 162, 900, 675}},    {600, 400, {33, 0, 533, 400}},  // below 1x: shrunk to fit
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlacePicture(kW, kH, c.w, c.h), c.want) << c.w << "x" << c.h;
  }
  // Nothing to show, or nowhere to show it: no place at all.
  const std::array<int32_t, 4> empty[] = {{0, 480, 640, 480},    {640, 0, 640, 480},
                                          {640, 480, 0, 480},    {640, 480, 640, 0},
                                          {-640, 480, 640, 480}, {640, 480, 640, -480}};
  for (const auto& [pw, ph, sw, sh] : empty) {
    EXPECT_EQ(PlacePicture(pw, ph, sw, sh), Placement{})
        << pw << "x" << ph << " on " << sw << "x" << sh;
  }
}

// A frame in which every pixel differs from its neighbours, and a palette
// whose entries all differ.
std::vector<uint8_t> Frame() {
  std::vector<uint8_t> frame(kW * kH);
  for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint8_t>(i * 7 + i / kW * 3);
  return frame;
}
ScreenFormat Format(int32_t bytesPerPixel) {
  ScreenFormat f;
  f.bytesPerPixel = bytesPerPixel;
  for (uint32_t i = 0; i < 256; ++i) {
    // 16 bits: 5-6-5 channels; else a byte each.
    f.lut[i] = bytesPerPixel == 2 ? ((i & 31) << 11 | ((i * 3) & 63) << 5 | ((255 - i) & 31))
                                  : 0x00A000u + i * 0x010001u;
  }
  f.channelMasks = {0xF800, 0x07E0, 0x001F};
  return f;
}

struct Screen {
  int32_t w, h, bpp, pitch;
  std::vector<uint8_t> bytes;
  Screen(int32_t width, int32_t height, int32_t bytesPerPixel)
      : w(width), h(height), bpp(bytesPerPixel), pitch(width * bytesPerPixel + 12) {
    bytes.assign(static_cast<size_t>(pitch) * h, 0xEE);  // "never written"
  }
  uint32_t At(int32_t x, int32_t y) const {
    uint32_t v = 0;
    std::memcpy(&v, bytes.data() + static_cast<size_t>(y) * pitch + x * bpp, bpp);
    return v;
  }
};

uint32_t Low(uint32_t v, int32_t bpp) { return bpp == 4 ? v : v & ((1u << (8 * bpp)) - 1); }

TEST(FrameScaler, ConvertingTheChangedBandsGivesTheScreenOfTheWholeFrame) {
  const struct {
    int32_t w, h, bpp;
  } cases[] = {{640, 480, 4},  {1920, 1080, 4}, {1920, 1440, 2}, {1300, 980, 3}, {1024, 768, 4},
               {1366, 768, 4}, {1024, 768, 2},  {1366, 1024, 3}, {600, 400, 4}};
  for (const auto& [w, h, bpp] : cases) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + ", " + std::to_string(bpp) +
                 " bytes");
    const ScreenFormat format = Format(bpp);
    const Placement at = PlacePicture(kW, kH, w, h);
    FrameScaler scaler(kW, kH, at);
    ShownFrame shown;
    auto frame = Frame();
    Screen partial(w, h, bpp);
    const auto convertChanged = [&] {
      for (const Band& b : shown.Update(frame, kW, kH, Palette()))
        scaler.Convert(shown.Pixels().data(), b, format, partial.bytes.data(), partial.pitch);
    };
    convertChanged();
    // A few letters' worth of change in different places, none in row 0,
    // and single pixels: each touches the screen pixels around it too.
    for (const auto& [x, y] : {std::pair{5, 3}, {600, 3}, {320, 240}, {639, 479}, {100, 250}}) {
      for (int32_t dy = 0; dy < 20 && y + dy < kH; ++dy) {
        for (int32_t dx = 0; dx < 16 && x + dx < kW; ++dx) {
          frame[static_cast<size_t>((y + dy) * kW + x + dx)] ^= 0x55;
        }
      }
    }
    convertChanged();
    for (const auto& [x, y] : {std::pair{0, 0}, {200, 100}, {201, 160}, {639, 0}, {400, 479}}) {
      frame[static_cast<size_t>(y * kW + x)] ^= 0x33;
      convertChanged();
    }
    Screen s(w, h, bpp);
    scaler.Convert(frame.data(), {0, 0, kW, kH}, format, s.bytes.data(), s.pitch);
    EXPECT_TRUE(partial.bytes == s.bytes);
    // The bars are left alone.
    int written = 0;
    for (int32_t y = 0; y < h; ++y) {
      for (int32_t x = 0; x < w; ++x) {
        const bool inside = x >= at.x && x < at.x + at.width && y >= at.y && y < at.y + at.height;
        written += !inside && s.At(x, y) != Low(0xEEEEEEEEu, bpp);
      }
    }
    EXPECT_EQ(written, 0);
  }
}

TEST(FrameScaler, WholeMultiplesAreExactNearestNeighbour) {
  for (const int32_t k : {1, 2, 3}) {
    for (const int32_t bpp : {2, 3, 4}) {
      SCOPED_TRACE(std::to_string(k) + "x, " + std::to_string(bpp) + " bytes");
      const ScreenFormat format = Format(bpp);
      const int32_t w = kW * k + 40, h = kH * k;  // bars at the sides
      const Placement at = PlacePicture(kW, kH, w, h);
      ASSERT_EQ(at.width, kW * k);
      FrameScaler scaler(kW, kH, at);
      const auto frame = Frame();
      Screen s(w, h, bpp);
      scaler.Convert(frame.data(), {0, 0, kW, kH}, format, s.bytes.data(), s.pitch);
      int wrong = 0;
      for (int32_t y = 0; y < at.height; ++y) {
        for (int32_t x = 0; x < at.width; ++x) {
          const size_t source = static_cast<size_t>(y / k * kW + x / k);
          wrong += s.At(at.x + x, at.y + y) != Low(format.lut[frame[source]], bpp);
        }
      }
      EXPECT_EQ(wrong, 0);
    }
  }
}

// Two picture pixels mixed with `share` of the second, out of 256: channel by channel in the
// 5-6-5 bits of 2-byte pixels, byte by byte in wider ones.
uint32_t Mix(uint32_t a, uint32_t b, uint32_t share, int32_t bpp) {
  const std::vector<uint64_t> masks =
      bpp == 2 ? std::vector<uint64_t>{0xF800, 0x07E0, 0x001F}
               : std::vector<uint64_t>{0xFF, 0xFF00, 0xFF0000, 0xFF000000};
  uint64_t out = 0;
  for (const uint64_t m : masks) out |= ((a & m) * (256 - share) + (b & m) * share) >> 8 & m;
  return static_cast<uint32_t>(out);
}

// What the screen pixel (sx, sy) of the placed picture shows, worked out from the two axes:
// mixed across first, then down.
uint32_t Expected(const std::vector<uint8_t>& frame, int32_t pictureW, const ScaleAxis& columns,
                  const ScaleAxis& rows, const ScreenFormat& format, int32_t sx, int32_t sy) {
  const auto across = [&](int32_t y) {
    const auto c = static_cast<size_t>(columns.source[static_cast<size_t>(sx)] + y * pictureW);
    const uint32_t share = columns.share[static_cast<size_t>(sx)];
    const uint32_t a = format.lut[frame[c]];
    return share == 0 ? a : Mix(a, format.lut[frame[c + 1]], share, format.bytesPerPixel);
  };
  const int32_t y = rows.source[static_cast<size_t>(sy)];
  const uint32_t share = rows.share[static_cast<size_t>(sy)];
  const uint32_t v =
      share == 0 ? across(y) : Mix(across(y), across(y + 1), share, format.bytesPerPixel);
  return Low(v, format.bytesPerPixel);
}

// Every scale (below 1x, whole multiples, mixed across, down or both) in every pixel size: each
// screen pixel of the picture as the axes make it, in the whole picture and in a band of it
// alone, and nothing outside what it shows. One picture differs in every pixel, the other only
// in its last column and last row, where the conversion must still see the difference.
TEST(FrameScaler, EveryScreenPixelIsItsPicturePixelsMixedByTheirShares) {
  constexpr int32_t pw = 40, ph = 30;
  std::vector<uint8_t> everyPixel(pw * ph), edges(pw * ph, 5);
  for (int32_t i = 0; i < pw * ph; ++i) {
    everyPixel[static_cast<size_t>(i)] = static_cast<uint8_t>(i * 7 + i / pw * 3);
    if (i % pw == pw - 1 || i / pw == ph - 1)
      edges[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
  }
  const Placement placements[] = {{0, 0, 40, 30}, {3, 2, 80, 60}, {0, 0, 120, 90}, {5, 1, 160, 120},
                                  {0, 0, 20, 15}, {0, 0, 64, 48}, {0, 1, 64, 60},  {2, 0, 80, 47},
                                  {2, 3, 53, 41}, {1, 0, 80, 30}};
  const Band band{7, 5, 13, 9};
  for (const Placement& at : placements) {
    for (const int32_t bpp : {2, 3, 4}) {
      for (const auto* frame : {&everyPixel, &edges}) {
        SCOPED_TRACE(std::to_string(at.width) + "x" + std::to_string(at.height) + ", " +
                     std::to_string(bpp) + " bytes" + (frame == &edges ? ", edges" : ""));
        const ScreenFormat format = Format(bpp);
        const ScaleAxis columns(pw, at.width), rows(ph, at.height);
        FrameScaler scaler(pw, ph, at);
        Screen whole(at.x + at.width + 1, at.y + at.height + 1, bpp), part = whole;
        scaler.Convert(frame->data(), {0, 0, pw, ph}, format, whole.bytes.data(), whole.pitch);
        scaler.Convert(frame->data(), band, format, part.bytes.data(), part.pitch);
        const Placement r = scaler.ScreenRect(band);
        int wrong = 0, wrongPart = 0;
        for (int32_t y = 0; y < whole.h; ++y) {
          for (int32_t x = 0; x < whole.w; ++x) {
            const int32_t sx = x - at.x, sy = y - at.y;
            const bool shown = sx >= 0 && sx < at.width && sy >= 0 && sy < at.height;
            const bool inBand = x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
            const uint32_t want =
                shown ? Expected(*frame, pw, columns, rows, format, sx, sy) : Low(0xEEEEEEEEu, bpp);
            wrong += whole.At(x, y) != want;
            wrongPart += part.At(x, y) != (inBand ? want : Low(0xEEEEEEEEu, bpp));
          }
        }
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(wrongPart, 0);
      }
    }
  }
}

TEST(FrameScaler, NothingIsWrittenInAnUnknownPixelSizeOrAtNoSize) {
  const auto frame = Frame();
  for (const int32_t bpp : {0, 1, 5}) {
    FrameScaler scaler(kW, kH, {0, 0, kW, kH});
    Screen s(kW, kH, 5);
    const auto before = s.bytes;
    scaler.Convert(frame.data(), {0, 0, kW, kH}, Format(bpp), s.bytes.data(), s.pitch);
    EXPECT_TRUE(s.bytes == before) << bpp;
  }
  FrameScaler none(kW, kH, PlacePicture(kW, kH, 0, 0));
  Screen s(4, 4, 4);
  none.Convert(frame.data(), {0, 0, kW, kH}, Format(4), s.bytes.data(), s.pitch);
  EXPECT_EQ(none.ScreenRect({0, 0, kW, kH}), Placement{});
  EXPECT_EQ(std::count(s.bytes.begin(), s.bytes.end(), 0xEE),
            static_cast<ptrdiff_t>(s.bytes.size()));
}

// Strokes a picture pixel wide, dark on light, as a glyph's are, upright and lying: on screen
// each holds as much ink as any other (the scale's worth), in a run of screen pixels at most two
// longer than the scale; nearest-neighbour would make them one or two pixels of full ink at 1.6x.
TEST(FrameScaler, OnePixelStrokesStayEvenAtFractionalScales) {
  const ScreenFormat format = Format(4);  // red: the palette index
  const uint8_t dark = 0, light = 255;
  for (const bool upright : {true, false}) {
    std::vector<uint8_t> frame(kW * kH);
    for (size_t i = 0; i < frame.size(); ++i) {
      frame[i] = (upright ? i % kW : i / kW) % 3 == 1 ? dark : light;
    }
    for (const auto& [w, h] : {std::pair{1024, 768}, {1366, 1024}, {1440, 1080}}) {
      SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + (upright ? " upright" : ""));
      const int32_t across = upright ? w : h, along = upright ? h : w;
      const double scale = static_cast<double>(across) / (upright ? kW : kH);
      FrameScaler scaler(kW, kH, {0, 0, w, h});
      Screen s(w, h, 4);
      scaler.Convert(frame.data(), {0, 0, kW, kH}, format, s.bytes.data(), s.pitch);
      for (const int32_t line : {0, along / 2 + 1, along - 1}) {
        std::vector<double> ink;  // per stroke
        std::vector<int32_t> length;
        bool inStroke = false;
        for (int32_t p = 0; p < across; ++p) {
          const uint32_t pixel = upright ? s.At(p, line) : s.At(line, p);
          const double darkness = 1.0 - static_cast<double>(pixel >> 16 & 0xFF) / 255.0;
          if (darkness <= 0.0) {
            inStroke = false;
            continue;
          }
          if (!inStroke) {
            ink.push_back(0.0);
            length.push_back(0);
          }
          inStroke = true;
          ink.back() += darkness;
          ++length.back();
        }
        ASSERT_EQ(ink.size(), static_cast<size_t>((upright ? kW : kH) / 3));
        for (size_t i = 0; i < ink.size(); ++i) {
          EXPECT_NEAR(ink[i], scale, 0.03) << "stroke " << i << " in line " << line;
          EXPECT_LE(length[i], static_cast<int32_t>(scale) + 2) << "stroke " << i;
        }
      }
    }
  }
}

// On a mixed scale a changed picture pixel changes the screen pixels that
// mix it with its neighbours too: the band's screen rectangle holds them.
TEST(FrameScaler, TheScreenRectangleOfABandHoldsEveryScreenPixelItTouches) {
  const FrameScaler scaler(kW, kH, {0, 0, 1024, 768});
  // Picture pixel 1 covers screen [1.6, 3.2): screen pixel 1 mixes pixels 0
  // and 1, 2 is pixel 1 alone, 3 mixes 1 and 2.
  EXPECT_EQ(scaler.ScreenRect({1, 1, 2, 2}), (Placement{1, 1, 3, 3}));
  EXPECT_EQ(scaler.ScreenRect({0, 0, kW, kH}), (Placement{0, 0, 1024, 768}));
  const FrameScaler exact(kW, kH, {10, 20, 1280, 960});
  EXPECT_EQ(exact.ScreenRect({1, 1, 2, 2}), (Placement{12, 22, 2, 2}));
  // An empty band has an empty rectangle, however tall or wide it is.
  EXPECT_EQ(exact.ScreenRect({3, 1, 3, 4}), (Placement{16, 22, 0, 0}));
  EXPECT_EQ(exact.ScreenRect({1, 3, 4, 3}), (Placement{12, 26, 0, 0}));

  const ScreenFormat format = Format(4);
  for (const Placement at :
       {Placement{0, 0, 1024, 768}, Placement{171, 0, 1024, 768}, Placement{240, 0, 1440, 1080}}) {
    FrameScaler fitted(kW, kH, at);
    const int32_t w = at.x * 2 + at.width, h = at.height;
    auto frame = Frame();
    Screen before(w, h, 4);
    fitted.Convert(frame.data(), {0, 0, kW, kH}, format, before.bytes.data(), before.pitch);
    for (const auto& [x, y] : {std::pair{0, 0}, {1, 1}, {2, 3}, {317, 201}, {639, 479}}) {
      frame[static_cast<size_t>(y * kW + x)] ^= 0x5A;
      Screen after(w, h, 4);
      fitted.Convert(frame.data(), {0, 0, kW, kH}, format, after.bytes.data(), after.pitch);
      const Placement r = fitted.ScreenRect({x, y, x + 1, y + 1});
      int outside = 0, inside = 0;
      for (int32_t sy = 0; sy < h; ++sy) {
        for (int32_t sx = 0; sx < w; ++sx) {
          if (before.At(sx, sy) == after.At(sx, sy)) continue;
          const bool in = sx >= r.x && sx < r.x + r.width && sy >= r.y && sy < r.y + r.height;
          (in ? inside : outside) += 1;
        }
      }
      EXPECT_EQ(outside, 0) << x << "," << y;
      EXPECT_GT(inside, 0) << x << "," << y;
      // No larger than it must be: at most the pixel's own screen pixels
      // and one mixed one at each side.
      EXPECT_LE(r.width, static_cast<int32_t>(at.width / kW) + 3);
      EXPECT_LE(r.height, static_cast<int32_t>(at.height / kH) + 3);
      before = after;
    }
  }
}

}  // namespace
}  // namespace media
