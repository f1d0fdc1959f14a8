// Our own reader of 256-colour BMP files (plain and RLE8) into 8-bit
// surfaces, strict about bounds so that any damaged file fails cleanly.
#include <algorithm>
#include <cstring>

#include "media/surface.h"

namespace media {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr int64_t kMaxSide = 16384;
// A few bytes of RLE8 can describe any size; past 16 million pixels (far
// beyond any picture the game uses) it is refused before allocating.
constexpr int64_t kMaxPixels = int64_t{1} << 24;
constexpr uint32_t kRgb = 0;
constexpr uint32_t kRle8 = 1;

[[noreturn]] void Fail(const std::string& what) { throw PlatformError(what); }

class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  size_t Size() const { return size_; }
  const uint8_t* At(size_t offset) const { return data_ + offset; }
  // Fails with "truncated" unless count bytes exist from offset.
  void Need(uint64_t offset, uint64_t count) const {
    if (offset > size_ || count > size_ - offset) Fail("truncated");
  }
  uint16_t U16(size_t offset) const {
    Need(offset, 2);
    return static_cast<uint16_t>(data_[offset] | data_[offset + 1] << 8);
  }
  uint32_t U32(size_t offset) const {
    Need(offset, 4);
    return uint32_t{data_[offset]} | uint32_t{data_[offset + 1]} << 8 |
           uint32_t{data_[offset + 2]} << 16 | uint32_t{data_[offset + 3]} << 24;
  }
  int32_t I32(size_t offset) const { return static_cast<int32_t>(U32(offset)); }

 private:
  const uint8_t* data_;
  size_t size_;
};

struct Header {
  int64_t width = 0;
  int64_t height = 0;  // positive; topDown tells the row order
  bool topDown = false;
  uint32_t compression = kRgb;
  uint32_t colors = 256;
  size_t paletteStart = 0;
  size_t entrySize = 4;
  uint32_t pixelOffset = 0;
};

Header ReadHeader(const Bytes& in) {
  if (in.Size() < 2 || in.At(0)[0] != 'B' || in.At(0)[1] != 'M') Fail("not a BMP file");
  Header h;
  h.pixelOffset = in.U32(10);
  const uint32_t headerSize = in.U32(14);
  int32_t bitsPerPixel = 0;
  if (headerSize == kCoreHeaderSize) {
    // The old OS/2 core header: 16-bit sizes, always bottom-up, 3-byte entries.
    h.width = in.U16(18);
    h.height = in.U16(20);
    bitsPerPixel = in.U16(24);
    h.entrySize = 3;
  } else if (headerSize >= kInfoHeaderSize) {
    in.Need(kFileHeaderSize, headerSize);
    h.width = in.I32(18);
    h.height = in.I32(22);
    bitsPerPixel = in.U16(28);
    h.compression = in.U32(30);
    const uint32_t used = in.U32(46);
    if (used > 256) Fail("bad palette size (" + std::to_string(used) + " colours)");
    h.colors = used == 0 ? 256 : used;
  } else {
    Fail("unsupported BMP header (" + std::to_string(headerSize) + " bytes)");
  }
  if (bitsPerPixel != 8) {
    Fail("not a 256-colour picture (" + std::to_string(bitsPerPixel) + " bits per pixel)");
  }
  if (h.compression != kRgb && h.compression != kRle8) {
    Fail("unsupported compression (" + std::to_string(h.compression) + ")");
  }
  if (h.height < 0) {
    h.topDown = true;
    h.height = -h.height;
  }
  if (h.width <= 0 || h.width > kMaxSide || h.height <= 0 || h.height > kMaxSide ||
      int64_t{h.width} * h.height > kMaxPixels) {
    Fail("bad picture size (" + std::to_string(h.width) + "x" +
         std::to_string(h.topDown ? -h.height : h.height) + ")");
  }
  h.paletteStart = kFileHeaderSize + headerSize;
  if (h.pixelOffset < h.paletteStart) Fail("bad pixel data offset");
  in.Need(h.pixelOffset, 0);
  return h;
}

std::shared_ptr<Palette> ReadPalette(const Bytes& in, const Header& h) {
  // Entries that would overlap the pixel data are not there; missing
  // entries stay black.
  const size_t room = (h.pixelOffset - h.paletteStart) / h.entrySize;
  const size_t count = std::min<size_t>(h.colors, room);
  in.Need(h.paletteStart, count * h.entrySize);
  std::array<Color, 256> colors{};
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = in.At(h.paletteStart + i * h.entrySize);
    colors[i] = Color{e[2], e[1], e[0]};  // stored blue, green, red
  }
  return std::make_shared<Palette>(colors);
}

// The surface row of the stored row number row.
size_t SurfaceRow(const Header& h, int64_t row) {
  return static_cast<size_t>(h.topDown ? row : h.height - 1 - row);
}

void ReadPlain(const Bytes& in, const Header& h, SoftSurface& out) {
  const int64_t stride = (h.width + 3) / 4 * 4;
  // The last row's padding may be missing; its pixels may not.
  in.Need(h.pixelOffset, static_cast<uint64_t>(stride * (h.height - 1) + h.width));
  const size_t width = static_cast<size_t>(h.width);
  uint8_t* pixels = out.Pixels().data();
  for (int64_t row = 0; row < h.height; ++row) {
    const uint8_t* src = in.At(h.pixelOffset + static_cast<size_t>(row * stride));
    std::memcpy(pixels + SurfaceRow(h, row) * width, src, width);
  }
}

void ReadRle8(const Bytes& in, const Header& h, SoftSurface& out) {
  const size_t width = static_cast<size_t>(h.width);
  uint8_t* pixels = out.Pixels().data();
  size_t p = h.pixelOffset;
  int64_t x = 0;
  int64_t row = 0;  // in stored order
  const auto put = [&](const uint8_t* values, uint8_t fill, int64_t count) {
    if (row >= h.height || x + count > h.width) Fail("damaged RLE data");
    uint8_t* dst = pixels + SurfaceRow(h, row) * width + static_cast<size_t>(x);
    if (values) {
      std::memcpy(dst, values, static_cast<size_t>(count));
    } else {
      std::memset(dst, fill, static_cast<size_t>(count));
    }
    x += count;
  };
  for (;;) {
    if (p == in.Size()) {
      // Some writers leave out the end marker after the last row.
      if (row >= h.height || (row == h.height - 1 && x == h.width)) return;
      Fail("truncated");
    }
    in.Need(p, 2);
    const uint8_t count = in.At(p)[0];
    const uint8_t value = in.At(p)[1];
    p += 2;
    if (count > 0) {
      put(nullptr, value, count);
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        if (++row > h.height) Fail("damaged RLE data");
        break;
      case 1:  // end of picture
        return;
      case 2: {  // move right and down
        in.Need(p, 2);
        x += in.At(p)[0];
        row += in.At(p)[1];
        p += 2;
        if (x > h.width || row > h.height) Fail("damaged RLE data");
        break;
      }
      default: {  // literal run, padded to an even length
        const size_t padded = value + (value & 1u);
        in.Need(p, padded);
        put(in.At(p), 0, value);
        p += padded;
        break;
      }
    }
  }
}

}  // namespace

std::shared_ptr<SoftSurface> LoadBmp8(const uint8_t* data, size_t size, const std::string& label) {
  const Bytes in(data, data ? size : 0);
  const Header h = ReadHeader(in);
  std::shared_ptr<Palette> palette = ReadPalette(in, h);
  auto surface = std::make_shared<SoftSurface>(static_cast<int32_t>(h.width),
                                               static_cast<int32_t>(h.height), label);
  if (h.compression == kRle8) {
    ReadRle8(in, h, *surface);
  } else {
    ReadPlain(in, h, *surface);
  }
  surface->SetPalette(std::move(palette));
  return surface;
}

}  // namespace media
