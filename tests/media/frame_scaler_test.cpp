// Tests of the present path: where the picture lies, the one-pass palette
// and scaling conversion, and what counts as changed.
#include "media/frame_scaler.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "media/shown_frame.h"

namespace media {
namespace {

constexpr int32_t kW = 640;
constexpr int32_t kH = 480;

TEST(PlacePicture, WholeMultiplesFromTwoUpElseFilledOrOneAsAsked) {
  struct Case {
    int32_t w, h;
    Fit fit;
    Placement want;
  };
  const Case cases[] = {
      {640, 480, Fit::kWholeMultipleOrFill, {0, 0, 640, 480}},
      {1024, 768, Fit::kWholeMultipleOrFill, {0, 0, 1024, 768}},  // 1.6x, filled
      {1024, 768, Fit::kWholeMultiple, {192, 144, 640, 480}},
      {1920, 1080, Fit::kWholeMultipleOrFill, {320, 60, 1280, 960}},
      {1920, 1080, Fit::kWholeMultiple, {320, 60, 1280, 960}},
      {1280, 1024, Fit::kWholeMultiple, {0, 32, 1280, 960}},
      {2000, 1000, Fit::kWholeMultiple, {360, 20, 1280, 960}},
      {800, 480, Fit::kWholeMultipleOrFill, {80, 0, 640, 480}},
      {1000, 500, Fit::kWholeMultipleOrFill, {167, 0, 666, 500}},  // bars at the sides
      {900, 1000, Fit::kWholeMultipleOrFill, {0, 162, 900, 675}},  // bars above and below
      {600, 400, Fit::kWholeMultiple, {33, 0, 533, 400}},          // below 1x: shrunk to fit
      {0, 480, Fit::kWholeMultiple, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlacePicture(kW, kH, c.w, c.h, c.fit), c.want) << c.w << "x" << c.h;
  }
}

// A frame in which every pixel differs from its neighbours, and a palette
// whose entries all differ.
std::vector<uint8_t> Frame() {
  std::vector<uint8_t> frame(kW * kH);
  for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint8_t>(i * 7 + i / kW * 3);
  return frame;
}
std::array<uint32_t, 256> Lut() {
  std::array<uint32_t, 256> lut{};
  for (uint32_t i = 0; i < 256; ++i) lut[i] = 0x00A000u + i * 0x010001u;
  return lut;
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

TEST(FrameScaler, EachPixelLandsInItsPlaceAndConvertingTheChangedBandsGivesTheSameScreen) {
  const auto lut = Lut();
  const struct {
    int32_t w, h, bpp;
    Fit fit;
  } cases[] = {
      {640, 480, 4, Fit::kWholeMultiple},        {1920, 1080, 4, Fit::kWholeMultiple},
      {1920, 1440, 2, Fit::kWholeMultiple},      {1300, 980, 3, Fit::kWholeMultiple},
      {1024, 768, 4, Fit::kWholeMultiple},       {1024, 768, 4, Fit::kWholeMultipleOrFill},
      {1366, 768, 4, Fit::kWholeMultipleOrFill},
  };
  for (const auto& [w, h, bpp, fit] : cases) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + ", " + std::to_string(bpp) +
                 " bytes");
    const Placement at = PlacePicture(kW, kH, w, h, fit);
    FrameScaler scaler(kW, kH, at);
    ShownFrame shown;
    auto frame = Frame();
    Screen partial(w, h, bpp);
    const auto convertChanged = [&] {
      for (const Band& b : shown.Update(frame, kW, kH, Palette()))
        scaler.Convert(shown.Pixels().data(), b, lut, bpp, partial.bytes.data(), partial.pitch);
    };
    convertChanged();
    // A few letters' worth of change in different places, none in row 0.
    for (const auto& [x, y] : {std::pair{5, 3}, {600, 3}, {320, 240}, {639, 479}, {100, 250}}) {
      for (int32_t dy = 0; dy < 20 && y + dy < kH; ++dy) {
        for (int32_t dx = 0; dx < 16 && x + dx < kW; ++dx) {
          frame[static_cast<size_t>((y + dy) * kW + x + dx)] ^= 0x55;
        }
      }
    }
    convertChanged();
    Screen s(w, h, bpp);
    scaler.Convert(frame.data(), {0, 0, kW, kH}, lut, bpp, s.bytes.data(), s.pitch);
    EXPECT_TRUE(partial.bytes == s.bytes);

    if (at.width % kW == 0) {
      // Whole multiples: a square of each pixel; the borders are left alone.
      const int32_t k = at.width / kW;
      int wrong = 0;
      for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
          const bool inside = x >= at.x && x < at.x + at.width && y >= at.y && y < at.y + at.height;
          const size_t source = static_cast<size_t>((y - at.y) / k * kW + (x - at.x) / k);
          wrong += s.At(x, y) != Low(inside ? lut[frame[source]] : 0xEEEEEEEEu, bpp);
        }
      }
      EXPECT_EQ(wrong, 0);
      continue;
    }
    // Fitted: the first row shows picture row 0; its screen columns step
    // through the picture columns one or two at a time, never back, from the
    // first to the last.
    std::vector<int32_t> columns;
    for (int32_t x = at.x; x < at.x + at.width; ++x) {
      const uint32_t v = s.At(x, at.y);
      int32_t found = -1;
      for (int32_t c = columns.empty() ? 0 : columns.back(); c < kW && found < 0; ++c) {
        if (lut[frame[static_cast<size_t>(c)]] == v) found = c;
      }
      ASSERT_GE(found, 0) << "column " << x;
      columns.push_back(found);
    }
    EXPECT_EQ(columns.front(), 0);
    EXPECT_EQ(columns.back(), kW - 1);
    for (size_t i = 1; i < columns.size(); ++i) EXPECT_LE(columns[i] - columns[i - 1], 1) << i;
  }
}

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
  // Another palette changes every pixel's colour; so does losing the screen.
  colors[1] = {0, 255, 0};
  EXPECT_EQ(shown.Update(frame, kW, kH, Palette(colors)), (std::vector<Band>{{0, 0, kW, kH}}));
  shown.Forget();
  EXPECT_EQ(shown.Update(frame, kW, kH, Palette(colors)), (std::vector<Band>{{0, 0, kW, kH}}));
}

}  // namespace
}  // namespace media
