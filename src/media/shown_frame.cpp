// The frame last shown on the screen, and which parts of a new frame differ
// from it.
#include "media/shown_frame.h"

#include <algorithm>
#include <cstring>

namespace media {
namespace {

// Changed rows this close together are sent as one band: a few unchanged
// rows cost less than another transfer to the screen.
constexpr int32_t kMergeGap = 8;

}  // namespace

const std::vector<Band>& ShownFrame::Update(const std::vector<uint8_t>& pixels, int32_t width,
                                            int32_t height, const Palette& palette,
                                            const std::vector<uint8_t>* changedRows) {
  bands_.clear();
  if (!known_ || width != width_ || height != height_ || pixels.size() != pixels_.size() ||
      !(palette.Colors() == palette_.Colors())) {
    pixels_ = pixels;
    width_ = width;
    height_ = height;
    palette_ = palette;
    known_ = true;
    if (width > 0 && height > 0) bands_.push_back({0, 0, width, height});
    return bands_;
  }
  const size_t w = static_cast<size_t>(width);
  if (changedRows && changedRows->size() != static_cast<size_t>(height)) changedRows = nullptr;
  for (int32_t y = 0; y < height; ++y) {
    if (changedRows && !(*changedRows)[static_cast<size_t>(y)]) continue;
    const uint8_t* now = pixels.data() + static_cast<size_t>(y) * w;
    uint8_t* shown = pixels_.data() + static_cast<size_t>(y) * w;
    if (std::memcmp(now, shown, w) == 0) continue;
    auto left = static_cast<int32_t>(std::mismatch(now, now + w, shown).first - now);
    int32_t right = width;
    while (now[right - 1] == shown[right - 1]) --right;
    std::memcpy(shown + left, now + left, static_cast<size_t>(right - left));
    if (!bands_.empty() && y - bands_.back().bottom <= kMergeGap) {
      Band& b = bands_.back();
      b.left = std::min(b.left, left);
      b.right = std::max(b.right, right);
      b.bottom = y + 1;
    } else {
      bands_.push_back({left, y, right, y + 1});
    }
  }
  return bands_;
}

}  // namespace media
