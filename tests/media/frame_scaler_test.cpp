// Tests of the present path: each axis of the scaling, and the one-pass palette and scaling
// conversion checked pixel by pixel against the axes (their small cases and where the picture
// lies: cases/screen.txt).
#include "media/frame_scaler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace media {
namespace {

// Between whole multiples each screen position covers at most two picture pixels; every
// picture pixel is as wide as any other to within a screen pixel (counting the positions it
// has the larger share of), covers to / from positions to within rounding, and at most one
// position mixes it with its neighbour: a stroke a picture pixel wide holds the same ink
// wherever it lies. At 640 to 1081 one position is all but a sliver of the next pixel: it
// shows that one alone.
TEST(ScaleAxis, BetweenWholeMultiplesEveryPixelKeepsItsWidthAndEdgesSoftenByOnePixel) {
  for (const auto& [from, to] : {std::pair{640, 1024},
                                 {480, 768},
                                 {640, 1366},
                                 {480, 1024},
                                 {640, 1440},
                                 {480, 1081},
                                 {640, 1081}}) {
    SCOPED_TRACE(std::to_string(from) + " to " + std::to_string(to));
    const ScaleAxis axis(from, to);
    EXPECT_FALSE(axis.exact);
    std::vector<int32_t> width(from), mixedAfter(from);
    std::vector<int64_t> covered(from);  // in 1/256 of a position
    for (int32_t i = 0; i < to; ++i) {
      const auto p = static_cast<size_t>(axis.source[i]);
      const int32_t share = axis.share[i];
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
    for (const int64_t c : covered) EXPECT_NEAR(c, 256.0 * to / from, 2.0);
    EXPECT_EQ(axis.source.front(), 0);
    EXPECT_EQ(axis.source.back() + (axis.share.back() != 0), from - 1);
  }
  for (const int32_t k : {1, 2, 3}) EXPECT_TRUE(ScaleAxis(640, 640 * k).exact);
}

// A palette whose entries all differ: 16 bits in 5-6-5 channels, else a byte each.
ScreenFormat Format(int32_t bytesPerPixel) {
  ScreenFormat f;
  f.bytesPerPixel = bytesPerPixel;
  for (uint32_t i = 0; i < 256; ++i) {
    f.lut[i] = bytesPerPixel == 2 ? ((i & 31) << 11 | ((i * 3) & 63) << 5 | ((255 - i) & 31))
                                  : 0x00A000u + i * 0x010001u;
  }
  f.channelMasks = {0xF800, 0x07E0, 0x001F};
  return f;
}

constexpr uint32_t kNeverWritten = 0xEEEEEEEE;

struct Screen {
  int32_t w, h, bpp, pitch;
  std::vector<uint8_t> bytes;
  Screen(int32_t width, int32_t height, int32_t bytesPerPixel)
      : w(width), h(height), bpp(bytesPerPixel), pitch(width * bytesPerPixel + 12) {
    bytes.assign(static_cast<size_t>(pitch) * h, 0xEE);
  }
  uint32_t At(int32_t x, int32_t y) const {
    uint32_t v = 0;
    std::memcpy(&v, bytes.data() + static_cast<size_t>(y) * pitch + x * bpp, bpp);
    return v;
  }
};

uint32_t Low(uint32_t v, int32_t bpp) { return bpp == 4 ? v : v & ((1u << (8 * bpp)) - 1); }

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

// What the screen pixel (sx, sy) of the placed picture shows, from the two axes: mixed
// across first, then down.
uint32_t Expected(const std::vector<uint8_t>& frame, int32_t pictureW, const ScaleAxis& columns,
                  const ScaleAxis& rows, const ScreenFormat& format, int32_t sx, int32_t sy) {
  const auto across = [&](int32_t y) {
    const auto c = static_cast<size_t>(columns.source[sx] + y * pictureW);
    const uint32_t a = format.lut[frame[c]];
    return columns.share[sx] == 0
               ? a
               : Mix(a, format.lut[frame[c + 1]], columns.share[sx], format.bytesPerPixel);
  };
  const int32_t y = rows.source[sy];
  const uint32_t v = rows.share[sy] == 0
                         ? across(y)
                         : Mix(across(y), across(y + 1), rows.share[sy], format.bytesPerPixel);
  return Low(v, format.bytesPerPixel);
}

// Whether screen position s shows any of the picture positions [from, to).
bool Shows(const ScaleAxis& axis, int32_t s, int32_t from, int32_t to) {
  const int32_t first = axis.source[s];
  return first < to && first + (axis.share[s] != 0) >= from;
}

// Every scale (below 1x, whole multiples, mixed across, down or both) in every pixel size:
// each screen pixel of the picture as the axes make it, in the whole picture and in a band of
// it alone (in the middle, and each corner's pixel), and nothing outside what it shows. A
// band's screen rectangle holds exactly the screen pixels that show any of its pixels, mixed
// with their neighbours' or not. One picture differs in every pixel, the other only in its last
// column and last row, where the conversion must still see the difference.
TEST(FrameScaler, EveryScreenPixelIsItsPicturePixelsMixedByTheirShares) {
  constexpr int32_t pw = 40, ph = 30;
  std::vector<uint8_t> everyPixel(pw * ph), edges(pw * ph, 5);
  for (int32_t i = 0; i < pw * ph; ++i) {
    everyPixel[i] = static_cast<uint8_t>(i * 7 + i / pw * 3);
    if (i % pw == pw - 1 || i / pw == ph - 1) edges[i] = static_cast<uint8_t>(i);
  }
  const Placement placements[] = {{0, 0, 40, 30}, {3, 2, 80, 60}, {0, 0, 120, 90}, {5, 1, 160, 120},
                                  {0, 0, 20, 15}, {0, 0, 64, 48}, {0, 1, 64, 60},  {2, 0, 80, 47},
                                  {2, 3, 53, 41}, {1, 0, 80, 30}};
  for (const Placement& at : placements) {
    for (const int32_t bpp : {2, 3, 4}) {
      for (const Band& band : {Band{7, 5, 13, 9}, Band{0, 0, 1, 1}, Band{pw - 1, ph - 1, pw, ph}}) {
        for (const auto* frame : {&everyPixel, &edges}) {
          SCOPED_TRACE(std::to_string(at.width) + "x" + std::to_string(at.height) + ", " +
                       std::to_string(bpp) + " bytes, band at " + std::to_string(band.left) +
                       (frame == &edges ? ", edges" : ""));
          const ScreenFormat format = Format(bpp);
          const ScaleAxis columns(pw, at.width), rows(ph, at.height);
          FrameScaler scaler(pw, ph, at);
          Screen whole(at.x + at.width + 1, at.y + at.height + 1, bpp), part = whole;
          scaler.Convert(frame->data(), {0, 0, pw, ph}, format, whole.bytes.data(), whole.pitch);
          scaler.Convert(frame->data(), band, format, part.bytes.data(), part.pitch);
          const Placement r = scaler.ScreenRect(band);
          int wrong = 0, wrongPart = 0, wrongRect = 0;
          for (int32_t y = 0; y < whole.h; ++y) {
            for (int32_t x = 0; x < whole.w; ++x) {
              const int32_t sx = x - at.x, sy = y - at.y;
              const bool shown = sx >= 0 && sx < at.width && sy >= 0 && sy < at.height;
              const bool inBand = x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
              const uint32_t want = shown ? Expected(*frame, pw, columns, rows, format, sx, sy)
                                          : Low(kNeverWritten, bpp);
              wrong += whole.At(x, y) != want;
              wrongPart += part.At(x, y) != (inBand ? want : Low(kNeverWritten, bpp));
              wrongRect += inBand != (shown && Shows(columns, sx, band.left, band.right) &&
                                      Shows(rows, sy, band.top, band.bottom));
            }
          }
          EXPECT_EQ(wrong, 0);
          EXPECT_EQ(wrongPart, 0);
          EXPECT_EQ(wrongRect, 0);
        }
      }
    }
  }
  // An unknown pixel size, or no place at all: nothing written.
  for (const auto& [at, bpp] : {std::pair{Placement{0, 0, 40, 30}, 0},
                                {{0, 0, 40, 30}, 1},
                                {{0, 0, 40, 30}, 5},
                                {Placement{}, 4}}) {
    Screen s(40, 30, 5);
    FrameScaler(pw, ph, at)
        .Convert(everyPixel.data(), {0, 0, pw, ph}, Format(bpp), s.bytes.data(), s.pitch);
    EXPECT_EQ(std::count(s.bytes.begin(), s.bytes.end(), 0xEE), std::ssize(s.bytes)) << bpp;
  }
  EXPECT_EQ(FrameScaler(pw, ph, {}).ScreenRect({0, 0, pw, ph}), Placement{});
}

// A band's screen rectangle, worked out by hand: at 1.6x picture pixel 1 covers screen
// [1.6, 3.2), so screen pixel 1 mixes pixels 0 and 1, 2 is pixel 1 alone, 3 mixes 1 and 2; at
// 2x each pixel has two of its own; an empty band has an empty rectangle.
TEST(FrameScaler, TheScreenRectangleOfABandWorkedOutByHand) {
  constexpr int32_t kW = 640, kH = 480;
  EXPECT_EQ(FrameScaler(kW, kH, {0, 0, 1024, 768}).ScreenRect({1, 1, 2, 2}),
            (Placement{1, 1, 3, 3}));
  const FrameScaler exact(kW, kH, {10, 20, 1280, 960});
  EXPECT_EQ(exact.ScreenRect({1, 1, 2, 2}), (Placement{12, 22, 2, 2}));
  EXPECT_EQ(exact.ScreenRect({3, 1, 3, 4}), (Placement{16, 22, 0, 0}));
  EXPECT_EQ(exact.ScreenRect({1, 3, 4, 3}), (Placement{12, 26, 0, 0}));
}

}  // namespace
}  // namespace media
