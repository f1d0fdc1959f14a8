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
// Columns are compared this many at a time; changes in one row further
// apart than this go to bands of their own (letters side by side), nearer
// ones to one.
constexpr int32_t kChunk = 32;

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
  size_t open = 0;  // bands_[open...] may still grow: they end within kMergeGap rows
  for (int32_t y = 0; y < height; ++y) {
    if (changedRows && !(*changedRows)[static_cast<size_t>(y)]) continue;
    const uint8_t* now = pixels.data() + static_cast<size_t>(y) * w;
    uint8_t* shown = pixels_.data() + static_cast<size_t>(y) * w;
    if (std::memcmp(now, shown, w) == 0) continue;
    while (open < bands_.size() && y - bands_[open].bottom > kMergeGap) ++open;
    // The row's changes: runs of differing chunks, each cut to the columns
    // that differ.
    for (int32_t x = 0; x < width;) {
      const auto chunkEnd = [&](int32_t c) { return std::min(c + kChunk, width); };
      const auto differs = [&](int32_t c) {
        return std::memcmp(now + c, shown + c, static_cast<size_t>(chunkEnd(c) - c)) != 0;
      };
      if (!differs(x)) {
        x = chunkEnd(x);
        continue;
      }
      int32_t last = x;  // the last differing chunk of the run
      for (int32_t c = chunkEnd(x); c < width && differs(c); c = chunkEnd(c)) last = c;
      const auto left =
          static_cast<int32_t>(std::mismatch(now + x, now + chunkEnd(x), shown + x).first - now);
      int32_t right = chunkEnd(last);
      while (now[right - 1] == shown[right - 1]) --right;
      x = chunkEnd(last);
      std::memcpy(shown + left, now + left, static_cast<size_t>(right - left));
      // Into the open bands it reaches (ending just above, near enough in
      // columns), joining them; or a band of its own.
      Band joined{left, y, right, y + 1};
      size_t into = bands_.size();
      for (size_t i = open; i < bands_.size();) {
        const Band& b = bands_[i];
        if (y - b.bottom > kMergeGap || left - b.right > kChunk || b.left - right > kChunk) {
          ++i;
          continue;
        }
        joined = {std::min(joined.left, b.left), std::min(joined.top, b.top),
                  std::max(joined.right, b.right), y + 1};
        if (into == bands_.size()) {
          into = i++;
        } else {
          bands_.erase(bands_.begin() + static_cast<ptrdiff_t>(i));
        }
      }
      if (into == bands_.size()) {
        bands_.push_back(joined);
      } else {
        bands_[into] = joined;
      }
    }
  }
  return bands_;
}

}  // namespace media
