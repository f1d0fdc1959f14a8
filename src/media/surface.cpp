// Software 8-bit surfaces: blits with colour key and palette translation,
// boxes, text and the flip chain.
#include "media/surface.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "media/font.h"

namespace media {
namespace {

uint64_t NextVersion() {
  static std::atomic<uint64_t> next{1};
  return next.fetch_add(1, std::memory_order_relaxed);
}

// A surface without a palette shows every index as black.
const Palette& PaletteOrBlack(const std::shared_ptr<Palette>& palette) {
  static const Palette kBlack;
  return palette ? *palette : kBlack;
}

}  // namespace

SoftSurface::SoftSurface(int32_t width, int32_t height, std::string label)
    : width_(width), height_(height), label_(std::move(label)), version_(NextVersion()) {
  if (width < 0 || height < 0) throw PlatformError("surface size must not be negative");
  pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  rowOrigins_.resize(static_cast<size_t>(height));
  changedRows_.assign(static_cast<size_t>(height), 1);
}

std::vector<uint8_t>& SoftSurface::Pixels() {
  Touch(0, height_);
  return pixels_;
}

void SoftSurface::Touch(int64_t first, int64_t last) {
  if (first >= last) return;
  version_ = NextVersion();
  std::fill(rowOrigins_.begin() + first, rowOrigins_.begin() + last, RowOrigin{});
  std::fill(changedRows_.begin() + first, changedRows_.begin() + last, 1);
}

void SoftSurface::Report(const SurfaceOp& op) const {
  if (observer_) observer_->OnSurfaceOp(op);
}

uint8_t SoftSurface::ScreenIndex(Rgb rgb) const { return PaletteOrBlack(palette_).Nearest(rgb); }

namespace {

// Palettes are compared on every blit: as plain bytes, which is several
// times faster than colour by colour.
static_assert(sizeof(std::array<Color, 256>) == 3 * 256);
bool SameColors(const std::array<Color, 256>& a, const std::array<Color, 256>& b) {
  return std::memcmp(a.data(), b.data(), sizeof(a)) == 0;
}

}  // namespace

const uint8_t* SoftSurface::TranslationFrom(const SoftSurface& source) {
  const auto& from = PaletteOrBlack(source.palette_).Colors();
  const auto& to = PaletteOrBlack(palette_).Colors();
  // Checked first and not cached, so that the per-frame background copy does
  // not evict the sprite sheet's table.
  if (SameColors(from, to)) return nullptr;
  if (!lutValid_ || !SameColors(from, lutSourceColors_) || !SameColors(to, lutTargetColors_)) {
    const Palette& target = PaletteOrBlack(palette_);
    for (size_t i = 0; i < 256; ++i) {
      const Color& c = from[i];
      lut_[i] = target.Nearest(MakeRgb(c.r, c.g, c.b));
    }
    lutSourceColors_ = from;
    lutTargetColors_ = to;
    lutValid_ = true;
  }
  return lut_.data();
}

bool SoftSurface::FastBlit(int32_t x, int32_t y, Surface& source, Rect rect, BlitFlags flags) {
  auto* soft = dynamic_cast<SoftSurface*>(&source);
  const bool drawn = soft != nullptr && CopyFrom(x, y, *soft, rect, flags);
  if (observer_) {
    SurfaceOp op;
    op.kind = SurfaceOp::Kind::Blit;
    op.x = x;
    op.y = y;
    op.src = soft ? soft->Label() : std::string();
    op.rect = rect;
    op.flags = static_cast<int32_t>(flags);
    op.drawn = drawn;
    Report(op);
  }
  return drawn;
}

bool SoftSurface::CopyFrom(int32_t x, int32_t y, const SoftSurface& source, Rect rect,
                           BlitFlags flags) {
  if (rect == Rect{}) rect = Rect{0, 0, source.width_, source.height_};
  if (rect.left >= rect.right || rect.top >= rect.bottom) return false;
  // A rectangle reaching outside the source is refused, never read.
  if (rect.left < 0 || rect.top < 0 || rect.right > source.width_ || rect.bottom > source.height_) {
    return false;
  }
  const int64_t w = int64_t{rect.right} - rect.left;
  const int64_t h = int64_t{rect.bottom} - rect.top;
  if (x < 0 || y < 0 || x + w > width_ || y + h > height_) return false;

  const uint8_t* lut = TranslationFrom(source);
  const bool keyed = flags == BlitFlags::KeySrcWait && source.colorKey_.has_value();
  const uint8_t key = source.colorKey_.value_or(0);
  const size_t width = static_cast<size_t>(w);

  const uint8_t* from = source.pixels_.data() + static_cast<size_t>(rect.top) * source.width_ +
                        static_cast<size_t>(rect.left);
  size_t fromStride = static_cast<size_t>(source.width_);
  std::vector<uint8_t> copy;
  if (&source == this) {
    // The rectangles may overlap: read from a copy of the source rectangle.
    copy.resize(width * static_cast<size_t>(h));
    for (int64_t row = 0; row < h; ++row) {
      std::memcpy(copy.data() + static_cast<size_t>(row) * width,
                  from + static_cast<size_t>(row) * fromStride, width);
    }
    from = copy.data();
    fromStride = width;
  }

  const bool plain = !keyed && !lut;
  bool wrote = false;
  for (int64_t row = 0; row < h; ++row) {
    const size_t to = static_cast<size_t>(y + row);
    if (plain && &source != this) {
      const RowOrigin origin{&source, source.version_, rect.top + row, rect.left, x, w};
      if (rowOrigins_[to] == origin) continue;  // these very bytes are there
      rowOrigins_[to] = origin;
    } else {
      rowOrigins_[to] = RowOrigin{};
    }
    changedRows_[to] = 1;
    wrote = true;
    const uint8_t* s = from + static_cast<size_t>(row) * fromStride;
    uint8_t* d = pixels_.data() + to * width_ + static_cast<size_t>(x);
    if (plain) {
      std::memcpy(d, s, width);
    } else if (!keyed) {
      for (size_t i = 0; i < width; ++i) d[i] = lut[s[i]];
    } else if (!lut) {
      // Without a branch, so the compiler vectorises the keyed copy; glyph
      // edges made a branch mispredict at every turn.
      for (size_t i = 0; i < width; ++i) {
        const uint8_t v = s[i];
        d[i] = v != key ? v : d[i];
      }
    } else {
      for (size_t i = 0; i < width; ++i) {
        const uint8_t v = s[i];
        d[i] = v != key ? lut[v] : d[i];
      }
    }
  }
  if (wrote) version_ = NextVersion();
  return true;
}

void SoftSurface::DrawBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  SurfaceOp op;
  op.kind = SurfaceOp::Kind::Box;
  op.rect = Rect{x1, y1, x2, y2};
  op.fore = fore_;
  op.fill = fill_;
  Report(op);

  if (x2 <= x1 || y2 <= y1) return;
  // Like GDI's Rectangle: the box covers x1..x2-1 and y1..y2-1.
  const int64_t left = x1;
  const int64_t right = int64_t{x2} - 1;
  const int64_t top = y1;
  const int64_t bottom = int64_t{y2} - 1;
  const int64_t clipLeft = std::max<int64_t>(left, 0);
  const int64_t clipRight = std::min<int64_t>(right, width_ - 1);
  const int64_t clipTop = std::max<int64_t>(top, 0);
  const int64_t clipBottom = std::min<int64_t>(bottom, height_ - 1);
  if (clipLeft > clipRight || clipTop > clipBottom) return;

  Touch(clipTop, clipBottom + 1);
  const uint8_t fore = ScreenIndex(fore_);
  const uint8_t fill = ScreenIndex(fill_);
  const size_t span = static_cast<size_t>(clipRight - clipLeft + 1);
  for (int64_t yy = clipTop; yy <= clipBottom; ++yy) {
    uint8_t* row = pixels_.data() + static_cast<size_t>(yy) * width_;
    if (yy == top || yy == bottom) {
      std::memset(row + clipLeft, fore, span);
      continue;
    }
    std::memset(row + clipLeft, fill, span);
    if (left == clipLeft) row[left] = fore;
    if (right == clipRight) row[right] = fore;
  }
}

void SoftSurface::DrawText(int32_t x, int32_t y, const std::string& text) {
  SurfaceOp op;
  op.kind = SurfaceOp::Kind::Text;
  op.x = x;
  op.y = y;
  op.text = text;
  op.fore = fore_;
  Report(op);

  const Font* font = EmbeddedFont();
  if (!font) return;
  const uint8_t ink = ScreenIndex(fore_);
  // The line's ink is worked out once and kept; drawing it is a masked copy.
  const TextLines::Line& line = textLines_.Get(*font, text, x, width_);
  if (line.width == 0) return;
  const int64_t firstRow = std::max<int64_t>(0, -int64_t{y});
  const int64_t lastRow = std::min<int64_t>(font->Height(), int64_t{height_} - y);
  Touch(y + firstRow, y + lastRow);
  const size_t left = static_cast<size_t>(int64_t{x} + line.firstColumn);
  const size_t width = static_cast<size_t>(line.width);
  for (int64_t gy = firstRow; gy < lastRow; ++gy) {
    uint8_t* row = pixels_.data() + static_cast<size_t>(y + gy) * width_ + left;
    const uint8_t* mask = line.ink.data() + static_cast<size_t>(gy) * width;
    for (size_t i = 0; i < width; ++i)
      row[i] = static_cast<uint8_t>((row[i] & ~mask[i]) | (ink & mask[i]));
  }
}

void SoftSurface::SetForeColor(Rgb rgb) {
  fore_ = rgb;
  SurfaceOp op;
  op.kind = SurfaceOp::Kind::Fore;
  op.rgb = rgb;
  Report(op);
}

void SoftSurface::SetFillColor(Rgb rgb) {
  fill_ = rgb;
  SurfaceOp op;
  op.kind = SurfaceOp::Kind::Fill;
  op.rgb = rgb;
  Report(op);
}

void SoftSurface::AttachBackBuffer(std::shared_ptr<SoftSurface> back, Presenter* presenter) {
  back_ = std::move(back);
  presenter_ = presenter;
  if (back_ && palette_) back_->palette_ = palette_;
}

void SoftSurface::Flip() {
  if (!back_) throw PlatformError("flip on a surface that is not a flip chain");
  if (presenter_) {
    const Palette& palette = PaletteOrBlack(palette_ ? palette_ : back_->palette_);
    presenter_->Present(back_->pixels_, back_->width_, back_->height_, palette,
                        &back_->changedRows_);
    std::fill(back_->changedRows_.begin(), back_->changedRows_.end(), 0);
  }
  SurfaceOp op;
  op.kind = SurfaceOp::Kind::Flip;
  Report(op);
}

std::shared_ptr<Surface> SoftSurface::GetAttachedSurface() {
  if (!back_) throw PlatformError("surface has no attached back buffer");
  return back_;
}

void SoftSurface::SetColorKey(uint8_t index) { colorKey_ = index; }

void SoftSurface::SetPalette(std::shared_ptr<Palette> palette) {
  palette_ = std::move(palette);
  // The back buffer of a flip chain is shown through the primary's palette.
  if (back_ && back_.get() != this) back_->palette_ = palette_;
}

}  // namespace media
