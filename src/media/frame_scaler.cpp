// The 8-bit frame turned into the screen's own pixels in one pass: palette
// lookup and nearest-neighbour scaling together.
#include "media/frame_scaler.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

namespace media {
namespace {

// One row of the picture into screen pixels of type T (one pixel a T).
template <typename T>
void WriteRow(const uint8_t* source, int32_t left, int32_t right, int32_t scale,
              const int32_t* sourceX, int32_t firstX, int32_t endX,
              const std::array<uint32_t, 256>& lut, T* out) {
  if (scale == 1) {
    for (int32_t x = left; x < right; ++x) *out++ = static_cast<T>(lut[source[x]]);
  } else if (scale == 2) {
    for (int32_t x = left; x < right; ++x) {
      const T v = static_cast<T>(lut[source[x]]);
      out[0] = v;
      out[1] = v;
      out += 2;
    }
  } else if (scale > 2) {
    for (int32_t x = left; x < right; ++x) {
      const T v = static_cast<T>(lut[source[x]]);
      for (int32_t k = 0; k < scale; ++k) *out++ = v;
    }
  } else {
    for (int32_t i = firstX; i < endX; ++i) *out++ = static_cast<T>(lut[source[sourceX[i]]]);
  }
}

// Three-byte pixels, stored least significant byte first.
void WriteRow24(const uint8_t* source, const int32_t* sourceX, int32_t firstX, int32_t endX,
                const std::array<uint32_t, 256>& lut, uint8_t* out) {
  for (int32_t i = firstX; i < endX; ++i) {
    const uint32_t v = lut[source[sourceX[i]]];
    out[0] = static_cast<uint8_t>(v);
    out[1] = static_cast<uint8_t>(v >> 8);
    out[2] = static_cast<uint8_t>(v >> 16);
    out += 3;
  }
}

// For each of `to` screen positions, the picture position it shows: the
// nearest to the position's centre, stepped in 16.16 fixed point as SDL's
// own scaled blit steps (so a fitted picture looks exactly as it did when
// SDL scaled it); whole multiples are exact.
std::vector<int32_t> SourceOf(int32_t from, int32_t to, int32_t scale) {
  std::vector<int32_t> source(static_cast<size_t>(std::max(to, 0)));
  const int64_t step = to > 0 ? (int64_t{from} << 16) / to : 0;
  for (int32_t i = 0; i < to; ++i) {
    const int64_t s = scale > 0 ? i / scale : (step / 2 + i * step) >> 16;
    source[static_cast<size_t>(i)] = static_cast<int32_t>(std::min<int64_t>(s, from - 1));
  }
  return source;
}

// The first screen position showing each picture position, and the end.
std::vector<int32_t> FirstOf(const std::vector<int32_t>& source, int32_t from) {
  std::vector<int32_t> first(static_cast<size_t>(from) + 1, static_cast<int32_t>(source.size()));
  for (size_t i = source.size(); i-- > 0;)
    first[static_cast<size_t>(source[i])] = static_cast<int32_t>(i);
  // Positions never shown (a picture shrunk below 1x) start where the next
  // shown one does, so their range is empty.
  for (int32_t p = from - 1; p >= 0; --p) {
    auto& f = first[static_cast<size_t>(p)];
    f = std::min(f, first[static_cast<size_t>(p) + 1]);
  }
  return first;
}

}  // namespace

Placement PlacePicture(int32_t pictureW, int32_t pictureH, int32_t screenW, int32_t screenH,
                       Fit fit) {
  if (pictureW <= 0 || pictureH <= 0 || screenW <= 0 || screenH <= 0) return {};
  const int32_t whole = std::min(screenW / pictureW, screenH / pictureH);
  if (whole >= 2 || (whole == 1 && fit == Fit::kWholeMultiple)) {
    const int32_t w = pictureW * whole;
    const int32_t h = pictureH * whole;
    return {(screenW - w) / 2, (screenH - h) / 2, w, h};
  }
  // The largest picture of the same shape, as SDL's logical size placed it
  // (single-precision scale, sizes rounded down).
  if (int64_t{pictureW} * screenH == int64_t{pictureH} * screenW) {
    return {0, 0, screenW, screenH};
  }
  if (int64_t{pictureW} * screenH > int64_t{pictureH} * screenW) {
    const float scale = static_cast<float>(screenW) / static_cast<float>(pictureW);
    const auto h = static_cast<int32_t>(std::floor(static_cast<float>(pictureH) * scale));
    return {0, (screenH - h) / 2, screenW, h};
  }
  const float scale = static_cast<float>(screenH) / static_cast<float>(pictureH);
  const auto w = static_cast<int32_t>(std::floor(static_cast<float>(pictureW) * scale));
  return {(screenW - w) / 2, 0, w, screenH};
}

FrameScaler::FrameScaler(int32_t pictureW, int32_t pictureH, Placement placement)
    : pictureW_(pictureW), placement_(placement) {
  if (placement.width > 0 && placement.width % pictureW == 0 &&
      placement.height == pictureH * (placement.width / pictureW)) {
    scale_ = placement.width / pictureW;
  }
  sourceX_ = SourceOf(pictureW, placement.width, scale_);
  firstX_ = FirstOf(sourceX_, pictureW);
  firstY_ = FirstOf(SourceOf(pictureH, placement.height, scale_), pictureH);
}

Placement FrameScaler::ScreenRect(const Band& band) const {
  const int32_t x0 = firstX_[static_cast<size_t>(band.left)];
  const int32_t x1 = firstX_[static_cast<size_t>(band.right)];
  const int32_t y0 = firstY_[static_cast<size_t>(band.top)];
  const int32_t y1 = firstY_[static_cast<size_t>(band.bottom)];
  return {placement_.x + x0, placement_.y + y0, x1 - x0, y1 - y0};
}

void FrameScaler::Convert(const uint8_t* frame, const Band& band,
                          const std::array<uint32_t, 256>& lut, int32_t bytesPerPixel,
                          uint8_t* screen, int32_t pitch) const {
  const Placement rect = ScreenRect(band);
  if (rect.width <= 0 || rect.height <= 0) return;
  const int32_t firstX = rect.x - placement_.x;
  const int32_t endX = firstX + rect.width;
  const size_t rowBytes = static_cast<size_t>(rect.width) * static_cast<size_t>(bytesPerPixel);
  auto screenRow = [&](int32_t y) {
    return screen + static_cast<ptrdiff_t>(placement_.y + y) * pitch +
           static_cast<ptrdiff_t>(rect.x) * bytesPerPixel;
  };
  for (int32_t y = band.top; y < band.bottom; ++y) {
    const int32_t r0 = firstY_[static_cast<size_t>(y)];
    const int32_t r1 = firstY_[static_cast<size_t>(y) + 1];
    if (r0 == r1) continue;
    const uint8_t* source = frame + static_cast<size_t>(y) * static_cast<size_t>(pictureW_);
    uint8_t* out = screenRow(r0);
    switch (bytesPerPixel) {
      case 4:
        WriteRow(source, band.left, band.right, scale_, sourceX_.data(), firstX, endX, lut,
                 reinterpret_cast<uint32_t*>(out));
        break;
      case 2:
        WriteRow(source, band.left, band.right, scale_, sourceX_.data(), firstX, endX, lut,
                 reinterpret_cast<uint16_t*>(out));
        break;
      case 3:
        WriteRow24(source, sourceX_.data(), firstX, endX, lut, out);
        break;
      default:
        return;
    }
    // The picture row's other screen rows are copies of the first.
    for (int32_t r = r0 + 1; r < r1; ++r) std::memcpy(screenRow(r), out, rowBytes);
  }
}

}  // namespace media
