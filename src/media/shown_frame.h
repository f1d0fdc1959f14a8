// The frame last shown on the screen, and which parts of a new frame differ
// from it, so that only what changed is converted and presented.
#pragma once

#include <cstdint>
#include <vector>

#include "media/frame_scaler.h"
#include "media/surface.h"

namespace media {

class ShownFrame {
 public:
  // Compares a frame with the one shown and takes it as the one shown.
  // Returns rectangles (bands) that hold every pixel that differs: rows and
  // columns of changes close together in one, changes further apart (two
  // letters side by side) in bands of their own; all of the frame when its
  // palette or size changed or after Forget; nothing when it equals the
  // last. changedRows, when given, marks
  // the rows that may differ; the others are not compared.
  const std::vector<Band>& Update(const std::vector<uint8_t>& pixels, int32_t width, int32_t height,
                                  const Palette& palette,
                                  const std::vector<uint8_t>* changedRows = nullptr);
  // The screen lost the picture (a new size, a new mode): show all again.
  void Forget() { known_ = false; }

  bool Empty() const { return pixels_.empty(); }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  const std::vector<uint8_t>& Pixels() const { return pixels_; }
  const Palette& GetPalette() const { return palette_; }

 private:
  std::vector<uint8_t> pixels_;
  int32_t width_ = 0;
  int32_t height_ = 0;
  Palette palette_;
  bool known_ = false;
  std::vector<Band> bands_;
};

}  // namespace media
