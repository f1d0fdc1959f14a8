// The 8-bit frame turned into the screen's own pixels in one pass: palette
// lookup and scaling together.
#include "media/frame_scaler.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

namespace media {
namespace {

// Mixes two 2-byte pixels channel by channel.
inline uint32_t MixChannels(uint32_t a, uint32_t b, uint32_t share,
                            const std::array<uint32_t, 3>& masks) {
  const uint32_t keep = 256 - share;
  uint32_t out = 0;
  for (const uint32_t m : masks) out |= ((a & m) * keep + (b & m) * share) >> 8 & m;
  return out;
}

// One picture row into screen pixels of type T (one pixel a T), nearest-
// neighbour: `scale` copies of each of the picture columns [left, right),
// or (scale 0) the picture column that each screen column [firstX, endX)
// shows.
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

// Screen pixels, one a uint32_t, stored in the screen's own size.
void Store(const uint32_t* pixels, int32_t count, int32_t bytesPerPixel, uint8_t* out) {
  switch (bytesPerPixel) {
    case 4:
      std::memcpy(out, pixels, static_cast<size_t>(count) * 4);
      break;
    case 2:
      for (int32_t i = 0; i < count; ++i) {
        const auto v = static_cast<uint16_t>(pixels[i]);
        std::memcpy(out + 2 * static_cast<ptrdiff_t>(i), &v, 2);
      }
      break;
    case 3:  // least significant byte first
      for (int32_t i = 0; i < count; ++i) {
        out[0] = static_cast<uint8_t>(pixels[i]);
        out[1] = static_cast<uint8_t>(pixels[i] >> 8);
        out[2] = static_cast<uint8_t>(pixels[i] >> 16);
        out += 3;
      }
      break;
    default:
      break;
  }
}

// Two rows of 3- or 4-byte pixels mixed byte by byte (the compiler makes
// this loop work on many bytes at once).
void MixRowBytes(const uint8_t* a, const uint8_t* b, uint8_t* out, size_t count, uint32_t share) {
  const auto keep = static_cast<uint16_t>(256 - share);
  const auto part = static_cast<uint16_t>(share);
  for (size_t k = 0; k < count; ++k) {
    out[k] = static_cast<uint8_t>(static_cast<uint16_t>(a[k] * keep + b[k] * part) >> 8);
  }
}

}  // namespace

Placement PlacePicture(int32_t pictureW, int32_t pictureH, int32_t screenW, int32_t screenH) {
  if (pictureW <= 0 || pictureH <= 0 || screenW <= 0 || screenH <= 0) return {};
  // The same sizes as SDL's logical size gave them (single-precision scale,
  // sizes rounded down), so a picture lies where it always did.
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

ScaleAxis::ScaleAxis(int32_t from, int32_t to) {
  from = std::max(from, 1);
  to = std::max(to, 0);
  source.resize(static_cast<size_t>(to));
  share.resize(static_cast<size_t>(to));
  if (to >= from) {
    // Screen position i covers [i, i + 1) * from / to of the picture: in
    // units of 1/to, [i * from, i * from + from).
    for (int32_t i = 0; i < to; ++i) {
      const int64_t start = int64_t{i} * from;
      int64_t first = start / to;
      const int64_t boundary = (first + 1) * to;  // where picture pixel first ends
      int64_t part = 0;                           // out of 256: the next pixel's share
      if (start + from > boundary) {
        part = ((start + from - boundary) * 256 + from / 2) / from;
        if (part >= 256) {  // all but a sliver is the next pixel
          ++first;
          part = 0;
        }
      }
      source[static_cast<size_t>(i)] = static_cast<int32_t>(first);
      share[static_cast<size_t>(i)] = static_cast<uint16_t>(part);
      exact = exact && part == 0;
    }
    pick.resize(static_cast<size_t>(to));
    mixShare.assign(static_cast<size_t>(from), 0);
    for (int32_t i = 0; i < to; ++i) {
      const int32_t p = source[static_cast<size_t>(i)];
      const uint16_t part = share[static_cast<size_t>(i)];
      pick[static_cast<size_t>(i)] = part == 0 ? p : from + p;
      if (part != 0) mixShare[static_cast<size_t>(p)] = part;
    }
  } else {
    // Below 1x: the pixel nearest to the position's centre, stepped in 16.16
    // fixed point as SDL's own scaled blit steps.
    const int64_t step = to > 0 ? (int64_t{from} << 16) / to : 0;
    for (int32_t i = 0; i < to; ++i) {
      source[static_cast<size_t>(i)] =
          static_cast<int32_t>(std::min<int64_t>((step / 2 + i * step) >> 16, from - 1));
    }
    pick = source;
    mixShare.assign(static_cast<size_t>(from), 0);
  }
  firstShowing.assign(static_cast<size_t>(from) + 1, to);
  firstAfter.assign(static_cast<size_t>(from) + 1, to);
  // Both the first and the last picture position that a screen position
  // shows only grow along the screen.
  int32_t i = 0;
  int32_t j = 0;
  for (int32_t p = 0; p <= from; ++p) {
    while (i < to && source[static_cast<size_t>(i)] + (share[static_cast<size_t>(i)] != 0) < p) ++i;
    while (j < to && source[static_cast<size_t>(j)] < p) ++j;
    firstShowing[static_cast<size_t>(p)] = i;
    firstAfter[static_cast<size_t>(p)] = j;
  }
}

FrameScaler::FrameScaler(int32_t pictureW, int32_t pictureH, Placement placement)
    : pictureW_(pictureW),
      placement_(placement),
      columns_(pictureW, placement.width),
      rows_(pictureH, placement.height) {
  if (placement.width > 0 && placement.width % pictureW == 0 &&
      placement.height == pictureH * (placement.width / pictureW)) {
    scale_ = placement.width / pictureW;
  }
  columnShare4_.resize(columns_.mixShare.size() * 4);
  columnKeep4_.resize(columns_.mixShare.size() * 4);
  for (size_t i = 0; i < columnShare4_.size(); ++i) {
    columnShare4_[i] = columns_.mixShare[i / 4];
    columnKeep4_[i] = static_cast<uint16_t>(256 - columnShare4_[i]);
  }
}

Placement FrameScaler::ScreenRect(const Band& band) const {
  const int32_t x0 = columns_.firstShowing[static_cast<size_t>(band.left)];
  const int32_t x1 = columns_.firstAfter[static_cast<size_t>(band.right)];
  const int32_t y0 = rows_.firstShowing[static_cast<size_t>(band.top)];
  const int32_t y1 = rows_.firstAfter[static_cast<size_t>(band.bottom)];
  if (x1 <= x0 || y1 <= y0) return {placement_.x + x0, placement_.y + y0, 0, 0};
  return {placement_.x + x0, placement_.y + y0, x1 - x0, y1 - y0};
}

const uint32_t* FrameScaler::ScaledRow(const uint8_t* frame, int32_t row, int32_t x0, int32_t x1,
                                       const ScreenFormat& format, uint32_t* into) {
  for (const ScaledRowCache& cached : rowCache_) {
    if (cached.row == row) return cached.pixels;
  }
  // Rows come in order: the older one goes.
  ScaledRowCache& cached = rowCache_[rowCache_[0].row < rowCache_[1].row ? 0 : 1];
  cached.row = row;
  if (!into) {
    cached.buffer.resize(static_cast<size_t>(x1 - x0));
    into = cached.buffer.data();
  }
  cached.pixels = into;
  uint32_t* const out = into;
  // The colours of the picture columns [c0, c1] that the screen columns
  // show, then their mixes with the next, then each screen column's pick.
  const uint8_t* source = frame + static_cast<size_t>(row) * static_cast<size_t>(pictureW_);
  const int32_t c0 = columns_.source[static_cast<size_t>(x0)];
  const int32_t last = x1 - 1;
  const int32_t c1 =
      columns_.source[static_cast<size_t>(last)] + (columns_.share[static_cast<size_t>(last)] != 0);
  colors_.resize(2 * static_cast<size_t>(pictureW_));
  uint32_t* colors = colors_.data();
  for (int32_t c = c0; c <= c1; ++c) colors[c] = format.lut[source[c]];
  uint32_t* mixes = colors + pictureW_;
  if (format.bytesPerPixel == 2) {
    for (int32_t c = c0; c < c1; ++c) {
      const uint32_t share = columns_.mixShare[static_cast<size_t>(c)];
      mixes[c] = MixChannels(colors[c], colors[c + 1], share, format.channelMasks);
    }
  } else if (c1 > c0) {
    // Byte by byte, each with its column's share (many bytes at once).
    const auto* a = reinterpret_cast<const uint8_t*>(colors + c0);
    const auto* b = reinterpret_cast<const uint8_t*>(colors + c0 + 1);
    auto* m = reinterpret_cast<uint8_t*>(mixes + c0);
    const uint16_t* share = columnShare4_.data() + 4 * static_cast<size_t>(c0);
    const uint16_t* keep = columnKeep4_.data() + 4 * static_cast<size_t>(c0);
    const size_t n = 4 * static_cast<size_t>(c1 - c0);
    for (size_t i = 0; i < n; ++i) {
      m[i] = static_cast<uint8_t>(static_cast<uint16_t>(a[i] * keep[i] + b[i] * share[i]) >> 8);
    }
  }
  const int32_t* pick = columns_.pick.data() + x0;
  const int32_t n = x1 - x0;
  for (int32_t i = 0; i < n; ++i) out[i] = colors[pick[i]];
  return out;
}

void FrameScaler::Convert(const uint8_t* frame, const Band& band, const ScreenFormat& format,
                          uint8_t* screen, int32_t pitch) {
  const int32_t bpp = format.bytesPerPixel;
  if (bpp < 2 || bpp > 4) return;
  const Placement rect = ScreenRect(band);
  if (rect.width <= 0 || rect.height <= 0) return;
  const int32_t x0 = rect.x - placement_.x;
  const int32_t x1 = x0 + rect.width;
  const size_t rowBytes = static_cast<size_t>(rect.width) * static_cast<size_t>(bpp);
  auto screenRow = [&](int32_t y) {
    return screen + static_cast<ptrdiff_t>(placement_.y + y) * pitch +
           static_cast<ptrdiff_t>(rect.x) * bpp;
  };

  if (columns_.exact && rows_.exact) {
    // Nothing mixed: each picture row's screen rows are copies of its first.
    for (int32_t y = band.top; y < band.bottom; ++y) {
      const int32_t r0 = rows_.firstAfter[static_cast<size_t>(y)];
      const int32_t r1 = rows_.firstAfter[static_cast<size_t>(y) + 1];
      if (r0 == r1) continue;
      const uint8_t* source = frame + static_cast<size_t>(y) * static_cast<size_t>(pictureW_);
      uint8_t* out = screenRow(r0);
      const int32_t* sourceX = columns_.source.data();
      if (bpp == 4) {
        WriteRow(source, band.left, band.right, scale_, sourceX, x0, x1, format.lut,
                 reinterpret_cast<uint32_t*>(out));
      } else if (bpp == 2) {
        WriteRow(source, band.left, band.right, scale_, sourceX, x0, x1, format.lut,
                 reinterpret_cast<uint16_t*>(out));
      } else {
        for (int32_t i = x0; i < x1; ++i) {
          const uint32_t v = format.lut[source[sourceX[i]]];
          out[0] = static_cast<uint8_t>(v);
          out[1] = static_cast<uint8_t>(v >> 8);
          out[2] = static_cast<uint8_t>(v >> 16);
          out += 3;
        }
        out = screenRow(r0);
      }
      for (int32_t r = r0 + 1; r < r1; ++r) std::memcpy(screenRow(r), out, rowBytes);
    }
    return;
  }

  // Mixed: each screen row is a picture row scaled across, or two of them
  // mixed by the row's share. The picture columns those screen columns take
  // from, to see whether two rows differ there at all:
  const int32_t c0 = columns_.source[static_cast<size_t>(x0)];
  const int32_t c1 = columns_.source[static_cast<size_t>(x1) - 1] +
                     (columns_.share[static_cast<size_t>(x1) - 1] != 0) + 1;
  const auto pictureRow = [&](int32_t y) {
    return frame + static_cast<size_t>(y) * static_cast<size_t>(pictureW_) +
           static_cast<size_t>(c0);
  };
  for (ScaledRowCache& cached : rowCache_) cached.row = -1;
  mixed_.resize(static_cast<size_t>(rect.width));
  for (int32_t r = rect.y - placement_.y; r < rect.y - placement_.y + rect.height; ++r) {
    const int32_t y = rows_.source[static_cast<size_t>(r)];
    const uint32_t share = rows_.share[static_cast<size_t>(r)];
    uint8_t* out = screenRow(r);
    if (share == 0 ||
        std::memcmp(pictureRow(y), pictureRow(y + 1), static_cast<size_t>(c1 - c0)) == 0) {
      // 4-byte pixels are scaled straight into the screen row.
      auto* direct = bpp == 4 ? reinterpret_cast<uint32_t*>(out) : nullptr;
      const uint32_t* a = ScaledRow(frame, y, x0, x1, format, direct);
      if (a != direct) Store(a, rect.width, bpp, out);
      continue;
    }
    const uint32_t* a = ScaledRow(frame, y, x0, x1, format);
    const uint32_t* b = ScaledRow(frame, y + 1, x0, x1, format);
    if (bpp == 4) {
      MixRowBytes(reinterpret_cast<const uint8_t*>(a), reinterpret_cast<const uint8_t*>(b), out,
                  rowBytes, share);
      continue;
    }
    uint32_t* m = mixed_.data();
    if (bpp == 2) {
      for (int32_t i = 0; i < rect.width; ++i) {
        m[i] = a[i] == b[i] ? a[i] : MixChannels(a[i], b[i], share, format.channelMasks);
      }
    } else {
      MixRowBytes(reinterpret_cast<const uint8_t*>(a), reinterpret_cast<const uint8_t*>(b),
                  reinterpret_cast<uint8_t*>(m), static_cast<size_t>(rect.width) * 4, share);
    }
    Store(m, rect.width, bpp, out);
  }
}

}  // namespace media
