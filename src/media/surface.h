// Software 8-bit surfaces and palettes, shared by every backend.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "media/platform.h"
#include "media/text_lines.h"

namespace media {

struct Color {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  bool operator==(const Color&) const = default;
};

class Palette {
 public:
  Palette() = default;
  explicit Palette(const std::array<Color, 256>& colors) : colors_(colors) {}
  const std::array<Color, 256>& Colors() const { return colors_; }
  // The entry nearest to rgb (squared distance, lowest index on a tie).
  uint8_t Nearest(Rgb rgb) const;

 private:
  std::array<Color, 256> colors_{};
};

// One recorded operation on a surface, for the headless frame log.
struct SurfaceOp {
  enum class Kind { Blit, Box, Text, Fore, Fill, Flip };
  Kind kind = Kind::Flip;
  int32_t x = 0;
  int32_t y = 0;
  std::string src;  // blit: the source surface's label
  Rect rect;        // blit: as passed; box: x1, y1, x2, y2
  int32_t flags = 0;
  bool drawn = false;
  std::string text;
  Rgb fore = 0;
  Rgb fill = 0;
  Rgb rgb = 0;
};

class SurfaceObserver {
 public:
  virtual ~SurfaceObserver() = default;
  virtual void OnSurfaceOp(const SurfaceOp& op) = 0;
};

// Receives the finished frame when the primary surface flips.
class Presenter {
 public:
  virtual ~Presenter() = default;
  // changedRows, when given, marks each row that may differ from the frame
  // presented before; the others are the same bytes.
  virtual void Present(const std::vector<uint8_t>& pixels, int32_t width, int32_t height,
                       const Palette& palette, const std::vector<uint8_t>* changedRows) = 0;
};

// The platform's initial fore and fill colours before anything sets them.
constexpr Rgb kInitialForeColor = 0;         // black
constexpr Rgb kInitialFillColor = 0xFFFFFF;  // white

class SoftSurface : public Surface {
 public:
  SoftSurface(int32_t width, int32_t height, std::string label);

  bool FastBlit(int32_t x, int32_t y, Surface& source, Rect rect, BlitFlags flags) override;
  void DrawBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
  void DrawText(int32_t x, int32_t y, const std::string& text) override;
  void SetForeColor(Rgb rgb) override;
  void SetFillColor(Rgb rgb) override;
  void Flip() override;
  std::shared_ptr<Surface> GetAttachedSurface() override;
  void SetColorKey(uint8_t index) override;
  void SetPalette(std::shared_ptr<Palette> palette) override;

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  const std::string& Label() const { return label_; }
  // For writing the pixels directly: counts as a change of every row, so
  // write through it before the surface is next drawn from or flipped.
  std::vector<uint8_t>& Pixels();
  const std::vector<uint8_t>& Pixels() const { return pixels_; }
  uint8_t At(int32_t x, int32_t y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  const std::shared_ptr<Palette>& GetPalette() const { return palette_; }
  std::optional<uint8_t> ColorKey() const { return colorKey_; }
  Rgb ForeColor() const { return fore_; }
  Rgb FillColor() const { return fill_; }

  // Wiring done by a backend.
  void SetObserver(SurfaceObserver* observer) { observer_ = observer; }
  // Makes this a primary surface: Flip hands the attached buffer to presenter.
  void AttachBackBuffer(std::shared_ptr<SoftSurface> back, Presenter* presenter);

 private:
  bool CopyFrom(int32_t x, int32_t y, const SoftSurface& source, Rect rect, BlitFlags flags);
  // The index translation from source's palette to this one's; nullptr when
  // it is the identity.
  const uint8_t* TranslationFrom(const SoftSurface& source);
  uint8_t ScreenIndex(Rgb rgb) const;
  void Report(const SurfaceOp& op) const;
  // Rows first..last-1 were written by something other than a plain copy.
  void Touch(int64_t first, int64_t last);

  // Where a row's pixels last came from, when a plain copy (no key, same
  // palette) of another surface's row wrote it and nothing wrote the row
  // since: the same copy again would write the same bytes, so it is skipped.
  // The background copied under every frame then costs nothing.
  struct RowOrigin {
    const SoftSurface* source = nullptr;
    uint64_t sourceVersion = 0;
    int64_t sourceRow = 0;
    int64_t sourceLeft = 0;
    int64_t x = 0;
    int64_t width = 0;
    bool operator==(const RowOrigin&) const = default;
  };

  int32_t width_;
  int32_t height_;
  std::string label_;
  std::vector<uint8_t> pixels_;
  // Unique among all surfaces of the process; renewed by every write.
  uint64_t version_;
  std::vector<RowOrigin> rowOrigins_;
  // Rows written since the last flip, for the presenter.
  std::vector<uint8_t> changedRows_;
  std::shared_ptr<Palette> palette_;
  std::optional<uint8_t> colorKey_;
  Rgb fore_ = kInitialForeColor;
  Rgb fill_ = kInitialFillColor;
  SurfaceObserver* observer_ = nullptr;
  std::shared_ptr<SoftSurface> back_;
  Presenter* presenter_ = nullptr;
  // Cached index translation from a source palette to this surface's, valid
  // while the two palettes hold the colours it was made from.
  bool lutValid_ = false;
  std::array<Color, 256> lutSourceColors_{};
  std::array<Color, 256> lutTargetColors_{};
  std::array<uint8_t, 256> lut_{};
  TextLines textLines_;
};

// A BMP file read into an 8-bit surface with its palette. Throws
// PlatformError naming the problem when the data is not a 256-colour BMP.
std::shared_ptr<SoftSurface> LoadBmp8(const uint8_t* data, size_t size, const std::string& label);

}  // namespace media
