// The 8-bit frame turned into the screen's own pixels in one pass: palette
// lookup and scaling together (exact nearest-neighbour at whole multiples,
// area-weighted between them), for 16-, 24- and 32-bit screens.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace media {

// Where the picture lies on the screen, in screen pixels.
struct Placement {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const Placement&) const = default;
};

// A rectangle of the picture (source pixels), right and bottom excluded.
struct Band {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  bool operator==(const Band&) const = default;
};

// The picture of pictureW x pictureH as large as it fits on a screen of
// screenW x screenH, in its own shape, centred (black bars where the shapes
// differ).
Placement PlacePicture(int32_t pictureW, int32_t pictureH, int32_t screenW, int32_t screenH);

// The screen's pixels: their size, the palette in their format, and their
// channels.
struct ScreenFormat {
  int32_t bytesPerPixel = 4;  // 2, 3 or 4
  // Each palette entry in the screen's format (the low bytes in its byte
  // order for 2 and 3 bytes).
  std::array<uint32_t, 256> lut{};
  // The bits of each colour channel of 2-byte pixels, to mix two colours;
  // 3- and 4-byte pixels are mixed byte by byte.
  std::array<uint32_t, 3> channelMasks{};
};

// One axis of the scaling. Each screen position covers a stretch of the
// picture as wide as picture size / screen size: its colour is that of the
// picture pixels under it, in proportion to how much of it each covers. A
// screen at least as large as the picture covers one or two picture pixels
// with each position, so every picture pixel keeps its width to within one
// screen pixel and an edge is softened by at most one pixel; at a whole
// multiple each position lies within one picture pixel, and the result is
// nearest-neighbour exactly. Below 1x each position shows the picture pixel
// nearest its centre.
struct ScaleAxis {
  ScaleAxis(int32_t from, int32_t to);
  // For each screen position: the first picture position it covers, and the
  // share of the next one, out of 256 (0: the first alone).
  std::vector<int32_t> source;
  std::vector<uint16_t> share;
  // For each picture position p (0 to from): the first screen position that
  // shows p or a later one, and the first that shows only later ones (p
  // ==from: the screen's size). The screen positions that show any of the
  // picture positions [a, b) are [firstShowing[a], firstAfter[b]).
  std::vector<int32_t> firstShowing;
  std::vector<int32_t> firstAfter;
  // At least 1x, each screen position's colour is one of two kinds: a
  // picture pixel's own (p), or its mix with the next (from + p), the mix
  // being the same wherever it falls (each boundary between two picture
  // pixels lies in one screen position). pick holds that number; mixShare
  // the share of p + 1 in the mix of p, out of 256 (0: no position mixes
  // them, or below 1x).
  std::vector<int32_t> pick;
  std::vector<uint16_t> mixShare;
  bool exact = true;  // nothing mixed: every share is 0
};

class FrameScaler {
 public:
  // A picture of pictureW x pictureH shown at placement.
  FrameScaler(int32_t pictureW, int32_t pictureH, Placement placement);

  const Placement& Where() const { return placement_; }
  // The screen rectangle whose pixels show anything of a band of the
  // picture: on a mixed scale it reaches into the neighbours of the screen
  // pixels that the band covers alone.
  Placement ScreenRect(const Band& band) const;

  // Writes the screen rectangle of a band of the frame (pictureW bytes a
  // row) into the screen's pixels (pitch bytes a row).
  void Convert(const uint8_t* frame, const Band& band, const ScreenFormat& format, uint8_t* screen,
               int32_t pitch);

 private:
  // One picture row scaled across the screen columns [x0, x1), in the
  // screen's format (into `into` when given and not already done): kept for
  // the next screen row that shows it too.
  const uint32_t* ScaledRow(const uint8_t* frame, int32_t row, int32_t x0, int32_t x1,
                            const ScreenFormat& format, uint32_t* into = nullptr);

  int32_t pictureW_;
  Placement placement_;
  int32_t scale_ = 0;  // the whole multiple, or 0 when the picture is not one
  ScaleAxis columns_;
  ScaleAxis rows_;
  // The columns' shares of the next picture pixel, each repeated for the 4
  // bytes of a pixel; and 256 less them.
  std::vector<uint16_t> columnShare4_;
  std::vector<uint16_t> columnKeep4_;
  // The last two picture rows scaled, while one Convert runs: in a buffer
  // of their own, or in the screen row they were written to.
  struct ScaledRowCache {
    int32_t row = -1;
    const uint32_t* pixels = nullptr;
    std::vector<uint32_t> buffer;
  };
  std::array<ScaledRowCache, 2> rowCache_;
  std::vector<uint32_t> colors_;  // a picture row's colours, then their mixes
  std::vector<uint32_t> mixed_;
};

}  // namespace media
