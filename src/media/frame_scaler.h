// The 8-bit frame turned into the screen's own pixels in one pass: palette
// lookup and nearest-neighbour scaling together, for 16-, 24- and 32-bit
// screens, with no per-pixel format conversion.
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

enum class Fit {
  // Whole multiples only, at least 1x: every picture pixel is a square of
  // screen pixels (windows).
  kWholeMultiple,
  // Whole multiples from 2x up; below that the largest picture of the same
  // shape (full screen: a 1024 x 768 desktop is filled, not left at 1x).
  kWholeMultipleOrFill,
};

// The picture of pictureW x pictureH centred on a screen of screenW x
// screenH, letterboxed.
Placement PlacePicture(int32_t pictureW, int32_t pictureH, int32_t screenW, int32_t screenH,
                       Fit fit);

class FrameScaler {
 public:
  // A picture of pictureW x pictureH shown at placement.
  FrameScaler(int32_t pictureW, int32_t pictureH, Placement placement);

  const Placement& Where() const { return placement_; }
  // The screen rectangle that shows a band of the picture.
  Placement ScreenRect(const Band& band) const;

  // Writes a band of the frame (pictureW bytes a row) through lut into the
  // screen's pixels (bytesPerPixel 2, 3 or 4; pitch bytes a row; the
  // lut's low bytes in the screen's byte order).
  void Convert(const uint8_t* frame, const Band& band, const std::array<uint32_t, 256>& lut,
               int32_t bytesPerPixel, uint8_t* screen, int32_t pitch) const;

 private:
  int32_t pictureW_;
  Placement placement_;
  int32_t scale_ = 0;  // the whole multiple, or 0 when the picture is fitted
  // The first screen column (row) that shows each picture column (row),
  // relative to the placement, and one past the end.
  std::vector<int32_t> firstX_;
  std::vector<int32_t> firstY_;
  // The picture column each screen column of the placement shows.
  std::vector<int32_t> sourceX_;
};

}  // namespace media
