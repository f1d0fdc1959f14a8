// Tests of the BMP reader: the layouts it accepts and a clear error for every damage.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "media/surface.h"

namespace media {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A BMP file put together field by field, so that tests can break any field.
struct BmpFile {
  uint32_t headerSize = 40;
  int32_t width = 4;
  int32_t height = 2;  // negative: top-down
  uint16_t bitsPerPixel = 8;
  uint32_t compression = 0;
  uint32_t colorsUsed = 0;
  std::vector<Color> palette;           // the entries written
  std::vector<uint8_t> pixelData;       // as stored
  std::optional<uint32_t> pixelOffset;  // default: right after the palette

  std::vector<uint8_t> Bytes() const {
    std::vector<uint8_t> header;
    Put32(header, headerSize);
    if (headerSize == 12) {
      Put16(header, static_cast<uint32_t>(width));
      Put16(header, static_cast<uint32_t>(height));
      Put16(header, 1);
      Put16(header, bitsPerPixel);
    } else {
      Put32(header, static_cast<uint32_t>(width));
      Put32(header, static_cast<uint32_t>(height));
      Put16(header, 1);
      Put16(header, bitsPerPixel);
      Put32(header, compression);
      Put32(header, static_cast<uint32_t>(pixelData.size()));
      Put32(header, 2835);
      Put32(header, 2835);
      Put32(header, colorsUsed);
      Put32(header, 0);
      header.resize(headerSize, 0);
    }
    for (const Color& c : palette) {
      header.insert(header.end(), {c.b, c.g, c.r});
      if (headerSize != 12) header.push_back(0);
    }
    const uint32_t offset = pixelOffset.value_or(static_cast<uint32_t>(14 + header.size()));
    std::vector<uint8_t> out = {'B', 'M'};
    Put32(out, static_cast<uint32_t>(offset + pixelData.size()));
    Put32(out, 0);
    Put32(out, offset);
    out.insert(out.end(), header.begin(), header.end());
    if (out.size() < offset) out.resize(offset, 0xEE);
    out.insert(out.end(), pixelData.begin(), pixelData.end());
    return out;
  }
};

// Rows given top first, stored with padding to four bytes, bottom first
// unless topDown.
std::vector<uint8_t> Stored(const std::vector<std::vector<uint8_t>>& rows, bool topDown = false) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i < rows.size(); ++i) {
    const auto& row = rows[topDown ? i : rows.size() - 1 - i];
    out.insert(out.end(), row.begin(), row.end());
    out.resize((out.size() + 3) / 4 * 4, 0);
  }
  return out;
}

std::vector<uint8_t> Rows(const SoftSurface& s, int32_t y) {
  return {s.Pixels().begin() + y * s.Width(), s.Pixels().begin() + (y + 1) * s.Width()};
}

std::shared_ptr<SoftSurface> Load(const std::vector<uint8_t>& bytes) {
  return LoadBmp8(bytes.data(), bytes.size(), "picture");
}

// The error message of loading bytes, or "loaded".
std::string ErrorOf(const std::vector<uint8_t>& bytes) {
  try {
    Load(bytes);
  } catch (const PlatformError& e) {
    return e.what();
  }
  return "loaded";
}

const std::vector<Color> kThree = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};

BmpFile Plain3x2() {
  BmpFile f;
  f.width = 3;
  f.height = 2;
  f.colorsUsed = 3;
  f.palette = kThree;
  f.pixelData = Stored({{1, 2, 3}, {4, 5, 6}});
  return f;
}

// 6 x 3, RLE8: bottom row "7 7 7 1 2 3", middle row empty, top row "0 0 9 9 0 0".
BmpFile Rle6x3() {
  BmpFile f;
  f.width = 6;
  f.height = 3;
  f.compression = 1;
  f.palette = kThree;
  f.pixelData = {
      3, 7,              // run of three 7s
      0, 3, 1, 2, 3, 0,  // three literal bytes, padded to four
      0, 0,              // end of line
      0, 2, 2, 1,        // move right 2, down 1: third stored row
      2, 9,              // two 9s
      0, 1,              // end of picture
  };
  return f;
}

TEST(LoadBmp8, ReadsABottomUpPictureWithItsPalette) {
  const auto s = Load(Plain3x2().Bytes());
  ASSERT_EQ(s->Width(), 3);
  ASSERT_EQ(s->Height(), 2);
  EXPECT_EQ(s->Label(), "picture");
  EXPECT_EQ(Rows(*s, 0), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(Rows(*s, 1), (std::vector<uint8_t>{4, 5, 6}));
  ASSERT_NE(s->GetPalette(), nullptr);
  const auto& colors = s->GetPalette()->Colors();
  EXPECT_EQ(colors[0], (Color{255, 0, 0}));
  EXPECT_EQ(colors[1], (Color{0, 255, 0}));
  EXPECT_EQ(colors[2], (Color{0, 0, 255}));
  EXPECT_EQ(colors[3], (Color{0, 0, 0}));  // beyond the colours used: black
  EXPECT_FALSE(s->ColorKey().has_value());
}

TEST(LoadBmp8, ReadsATopDownPicture) {
  BmpFile f = Plain3x2();
  f.height = -2;
  f.pixelData = Stored({{1, 2, 3}, {4, 5, 6}}, true);
  const auto s = Load(f.Bytes());
  ASSERT_EQ(s->Height(), 2);
  EXPECT_EQ(Rows(*s, 0), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(Rows(*s, 1), (std::vector<uint8_t>{4, 5, 6}));
}

TEST(LoadBmp8, ReadsTheOldCoreHeaderAndTheLargerNewHeaders) {
  BmpFile core = Plain3x2();
  core.headerSize = 12;
  core.palette.resize(256, Color{9, 8, 7});
  const auto a = Load(core.Bytes());
  EXPECT_EQ(Rows(*a, 0), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(a->GetPalette()->Colors()[1], (Color{0, 255, 0}));
  EXPECT_EQ(a->GetPalette()->Colors()[255], (Color{9, 8, 7}));

  for (uint32_t size : {52u, 56u, 108u, 124u}) {
    BmpFile v = Plain3x2();
    v.headerSize = size;
    const auto b = Load(v.Bytes());
    EXPECT_EQ(Rows(*b, 1), (std::vector<uint8_t>{4, 5, 6})) << size;
    EXPECT_EQ(b->GetPalette()->Colors()[2], (Color{0, 0, 255})) << size;
  }
}

TEST(LoadBmp8, PaletteEndsWhereThePixelsBegin) {
  BmpFile f = Plain3x2();
  f.colorsUsed = 0;  // 256 claimed, but only 2 entries before the pixels
  f.palette = {{1, 2, 3}, {4, 5, 6}};
  const auto s = Load(f.Bytes());
  const auto& colors = s->GetPalette()->Colors();
  EXPECT_EQ(colors[1], (Color{4, 5, 6}));
  for (size_t i = 2; i < 256; ++i) ASSERT_EQ(colors[i], (Color{})) << i;

  // A gap between the palette and the pixels is allowed.
  BmpFile gap = Plain3x2();
  gap.pixelOffset = 14 + 40 + 3 * 4 + 10;
  EXPECT_EQ(Rows(*Load(gap.Bytes()), 0), (std::vector<uint8_t>{1, 2, 3}));
}

TEST(LoadBmp8, DecodesRle8RunsLiteralsMovesAndLineEnds) {
  const auto s = Load(Rle6x3().Bytes());
  EXPECT_EQ(Rows(*s, 0), (std::vector<uint8_t>{0, 0, 9, 9, 0, 0}));
  EXPECT_EQ(Rows(*s, 1), (std::vector<uint8_t>(6, 0)));
  EXPECT_EQ(Rows(*s, 2), (std::vector<uint8_t>{7, 7, 7, 1, 2, 3}));

  BmpFile topDown = Rle6x3();
  topDown.height = -3;
  const auto t = Load(topDown.Bytes());
  EXPECT_EQ(Rows(*t, 0), (std::vector<uint8_t>{7, 7, 7, 1, 2, 3}));
  EXPECT_EQ(Rows(*t, 2), (std::vector<uint8_t>{0, 0, 9, 9, 0, 0}));
}

TEST(LoadBmp8, Rle8WithoutEndMarkerIsAcceptedOnceEveryRowIsThere) {
  BmpFile f = Rle6x3();
  f.height = 1;
  f.pixelData = {3, 5, 0, 3, 7, 8, 9, 0};
  const auto s = Load(f.Bytes());
  EXPECT_EQ(Rows(*s, 0), (std::vector<uint8_t>{5, 5, 5, 7, 8, 9}));
  f.pixelData = {4, 5, 0, 0};  // line end after the last row
  EXPECT_EQ(Rows(*Load(f.Bytes()), 0), (std::vector<uint8_t>{5, 5, 5, 5, 0, 0}));
  f.pixelData = {4, 5};  // the row is not finished
  EXPECT_EQ(ErrorOf(f.Bytes()), "truncated");
}

TEST(LoadBmp8, RefusesWhatIsNotABmpFile) {
  EXPECT_EQ(ErrorOf({}), "not a BMP file");
  EXPECT_EQ(ErrorOf({'B'}), "not a BMP file");
  auto bytes = Plain3x2().Bytes();
  bytes[1] = 'A';
  EXPECT_EQ(ErrorOf(bytes), "not a BMP file");
  EXPECT_EQ(ErrorOf({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}), "not a BMP file");
  EXPECT_THROW(LoadBmp8(nullptr, 100, "x"), PlatformError);
}

TEST(LoadBmp8, EveryCutShortFileIsTruncated) {
  BmpFile plain = Plain3x2();
  plain.width = 4;  // no row padding, so every byte is needed
  plain.pixelData = Stored({{1, 2, 3, 4}, {5, 6, 7, 8}});
  for (const std::vector<uint8_t>& whole : {plain.Bytes(), Rle6x3().Bytes()}) {
    ASSERT_EQ(ErrorOf(whole), "loaded");
    for (size_t n = 2; n < whole.size(); ++n) {
      const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(n));
      ASSERT_EQ(ErrorOf(cut), "truncated") << "cut to " << n << " of " << whole.size();
    }
  }
  // Only the last row's padding may be missing.
  auto padded = Plain3x2().Bytes();
  padded.pop_back();
  EXPECT_EQ(ErrorOf(padded), "loaded");
  padded.pop_back();
  EXPECT_EQ(ErrorOf(padded), "truncated");
}

TEST(LoadBmp8, RefusesPicturesThatAreNot256Colours) {
  for (uint16_t bits : {1, 4, 16, 24, 32}) {
    BmpFile f = Plain3x2();
    f.bitsPerPixel = bits;
    EXPECT_EQ(ErrorOf(f.Bytes()),
              "not a 256-colour picture (" + std::to_string(bits) + " bits per pixel)");
  }
  BmpFile core = Plain3x2();
  core.headerSize = 12;
  core.bitsPerPixel = 24;
  EXPECT_EQ(ErrorOf(core.Bytes()), "not a 256-colour picture (24 bits per pixel)");
}

TEST(LoadBmp8, RefusesOtherCompressionsHeadersAndPalettes) {
  for (uint32_t compression : {2u, 3u, 4u, 5u, 0x7FFFFFFFu}) {
    BmpFile f = Plain3x2();
    f.compression = compression;
    EXPECT_EQ(ErrorOf(f.Bytes()), "unsupported compression (" + std::to_string(compression) + ")");
  }
  BmpFile header = Plain3x2();
  header.headerSize = 20;
  EXPECT_EQ(ErrorOf(header.Bytes()), "unsupported BMP header (20 bytes)");
  BmpFile hugeHeader = Plain3x2();
  hugeHeader.headerSize = 40;
  auto bytes = hugeHeader.Bytes();
  bytes[14 + 3] = 0x7F;  // a header size of about two gigabytes
  EXPECT_EQ(ErrorOf(bytes), "truncated");

  BmpFile colours = Plain3x2();
  colours.colorsUsed = 257;
  EXPECT_EQ(ErrorOf(colours.Bytes()), "bad palette size (257 colours)");

  BmpFile offset = Plain3x2();
  offset.pixelOffset = 30;  // inside the header
  EXPECT_EQ(ErrorOf(offset.Bytes()), "bad pixel data offset");
  BmpFile beyond = Plain3x2();
  beyond.pixelData.clear();
  beyond.pixelOffset = 5000;
  auto far = beyond.Bytes();
  far.resize(14 + 40 + 12);
  EXPECT_EQ(ErrorOf(far), "truncated");
}

TEST(LoadBmp8, RefusesEmptyAndHugeSizesBeforeAllocating) {
  const std::pair<int32_t, int32_t> sizes[] = {
      {0, 2},     {-1, 2},     {16385, 2},     {INT32_MAX, 2}, {INT32_MIN, 2}, {3, 0},
      {3, 16385}, {3, -16385}, {3, INT32_MIN}, {3, INT32_MAX}, {16384, 16384}, {4097, 4096},
  };
  for (const auto& [w, h] : sizes) {
    BmpFile f = Plain3x2();
    f.width = w;
    f.height = h;
    EXPECT_EQ(ErrorOf(f.Bytes()).rfind("bad picture size (", 0), 0u) << w << "x" << h;
  }
  // The largest side allowed is read.
  BmpFile wide = Plain3x2();
  wide.width = 16384;
  wide.height = -1;
  wide.pixelData.assign(16384, 7);
  const auto s = Load(wide.Bytes());
  EXPECT_EQ(s->Width(), 16384);
  EXPECT_EQ(s->At(16383, 0), 7);
}

TEST(LoadBmp8, RefusesDamagedRle8Data) {
  const std::vector<std::vector<uint8_t>> damaged = {
      {7, 1, 0, 1},                    // run past the end of the row
      {3, 1, 0, 4, 1, 2, 3, 4, 0, 1},  // literal past the end of the row
      {0, 2, 7, 0, 0, 1},              // move past the end of the row
      {0, 2, 0, 3, 0, 1},              // move below the picture
      {0, 0, 0, 0, 0, 1},              // a line end past the last row
      {0, 0, 1, 5, 0, 1},              // pixels below the picture
  };
  for (const auto& data : damaged) {
    BmpFile f = Rle6x3();
    f.width = 6;
    f.height = 1;
    f.pixelData = data;
    EXPECT_EQ(ErrorOf(f.Bytes()), "damaged RLE data") << ::testing::PrintToString(data);
  }
}

TEST(LoadBmp8, AnyDamageEndsInAPlatformErrorOrAPicture) {
  // Every byte of small files set to telling values: the reader must either
  // fail cleanly or give a picture of the size its header states.
  for (const std::vector<uint8_t>& whole : {Plain3x2().Bytes(), Rle6x3().Bytes()}) {
    for (size_t i = 0; i < whole.size(); ++i) {
      for (uint8_t value : {0x00, 0x01, 0x02, 0x03, 0x7F, 0x80, 0xFF}) {
        auto bytes = whole;
        bytes[i] = value;
        try {
          const auto s = Load(bytes);
          ASSERT_EQ(s->Pixels().size(), static_cast<size_t>(s->Width()) * s->Height());
        } catch (const PlatformError&) {
        }
      }
    }
  }
}

TEST(ReadWholeFile, ReadsEveryByteOrSaysWhyNot) {
  const std::string path = ::testing::TempDir() + "read_whole_file_test.bin";
  std::vector<uint8_t> data(200000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(std::fwrite(data.data(), 1, data.size(), f), data.size());
  std::fclose(f);
  EXPECT_EQ(ReadWholeFile(path), data);
  std::remove(path.c_str());

  try {
    ReadWholeFile(path);
    FAIL() << "read a file that is not there";
  } catch (const PlatformError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("cannot read: ", 0), 0u) << e.what();
  }
  EXPECT_THROW(ReadWholeFile(::testing::TempDir()), PlatformError);  // a folder
}

}  // namespace
}  // namespace media
