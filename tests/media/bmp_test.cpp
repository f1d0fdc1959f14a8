// Tests of the BMP reader: the layouts it reads and a clear error for each kind of damage.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_files.h"

namespace media {
namespace {

using test_files::BmpFile;

std::shared_ptr<SoftSurface> Load(const std::vector<uint8_t>& bytes) {
  return LoadBmp8(bytes.data(), bytes.size(), "picture");
}

std::string ErrorOf(const std::vector<uint8_t>& bytes) {
  return test_files::ErrorOf([&] { Load(bytes); });
}

std::vector<uint8_t> Row(const SoftSurface& s, int32_t y) {
  return {s.Pixels().begin() + y * s.Width(), s.Pixels().begin() + (y + 1) * s.Width()};
}

// 3 x 2, top row 1 2 3, bottom row 4 5 6.
BmpFile Plain(bool topDown = false) {
  return test_files::Bmp(
      3, 2, [](int32_t x, int32_t y) { return static_cast<uint8_t>(1 + x + 3 * y); }, topDown);
}

// 6 x 3 in RLE8: stored first "7 7 7 1 2 3", then an empty row, then "0 0 9 9 0 0".
BmpFile Rle(int32_t height = 3) {
  BmpFile f;
  f.width = 6;
  f.height = height;
  f.compression = 1;
  f.data = {3, 7, 0, 3, 1, 2, 3, 0,  // a run of three 7s, three literal bytes padded
            0, 0,                    // end of line
            0, 2, 2, 1,              // move right 2 and down 1
            2, 9, 0, 1};             // two 9s, end of picture
  return f;
}

// The file's bytes with the 32-bit field at offset set to value.
std::vector<uint8_t> Patched(const BmpFile& f, size_t offset, uint32_t value) {
  std::vector<uint8_t> bytes = f.Bytes();
  for (size_t i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
  return bytes;
}

// As many entries as the header says (0: all 256) and the file holds before the pixels; the rest
// stay black.
TEST(LoadBmp8, ReadsThePaletteEntriesThatAreThere) {
  const struct {
    size_t stored;
    uint32_t used;
    size_t read;
  } cases[] = {{256, 0, 256}, {256, 256, 256}, {5, 3, 3}, {2, 0, 2}, {0, 0, 0}};
  for (const auto& c : cases) {
    BmpFile f = Plain();
    f.palette.resize(c.stored);
    const auto palette = Load(Patched(f, 46, c.used))->GetPalette();
    const auto& colors = palette->Colors();
    for (size_t i = 0; i < colors.size(); ++i) {
      EXPECT_EQ(colors[i], i < c.read ? test_files::TestColor(int(i)) : Color{})
          << i << " of " << c.stored << " stored, " << c.used << " used";
    }
  }
}

TEST(LoadBmp8, ReadsBottomUpTopDownAndCoreHeaderPictures) {
  BmpFile core = Plain();
  core.headerSize = 12;
  for (const BmpFile& f : {Plain(), Plain(true), core}) {
    SCOPED_TRACE(f.headerSize == 12 ? "core" : f.height < 0 ? "top-down" : "bottom-up");
    const auto s = Load(f.Bytes());
    ASSERT_EQ(s->Width(), 3);
    ASSERT_EQ(s->Height(), 2);
    EXPECT_EQ(s->Pixels(), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(s->GetPalette()->Colors()[200], test_files::TestColor(200));
  }
}

// A core header says nothing of its palette's size: 256 entries are read
// however many more lie before the pixels.
TEST(LoadBmp8, ACoreHeaderReadsAtMost256Entries) {
  BmpFile core = Plain();
  core.headerSize = 12;
  core.palette.resize(300, Color{1, 2, 3});
  const auto palette = Load(core.Bytes())->GetPalette();
  const auto& colors = palette->Colors();
  ASSERT_EQ(colors.size(), 256u);
  EXPECT_EQ(colors[255], test_files::TestColor(255));
}

TEST(LoadBmp8, DecodesRle8RunsLiteralsMovesAndLineEnds) {
  for (int32_t height : {3, -3}) {
    const auto s = Load(Rle(height).Bytes());
    const int32_t first = height > 0 ? 2 : 0;  // the surface row of the first stored row
    EXPECT_EQ(Row(*s, first), (std::vector<uint8_t>{7, 7, 7, 1, 2, 3})) << height;
    EXPECT_EQ(Row(*s, 1), (std::vector<uint8_t>(6, 0))) << height;
    EXPECT_EQ(Row(*s, 2 - first), (std::vector<uint8_t>{0, 0, 9, 9, 0, 0})) << height;
  }
}

// Rows are stored padded to 4 bytes, whatever the width.
TEST(LoadBmp8, ReadsEveryWidthOfRowPadding) {
  for (const int32_t width : {1, 3, 4, 5, 8}) {
    const auto pixel = [](int32_t x, int32_t y) { return static_cast<uint8_t>(1 + x + 10 * y); };
    const auto s = Load(test_files::Bmp(width, 3, pixel).Bytes());
    ASSERT_EQ(s->Width(), width);
    for (int32_t y = 0; y < 3; ++y) {
      for (int32_t x = 0; x < width; ++x) EXPECT_EQ(s->At(x, y), pixel(x, y)) << width;
    }
  }
}

// A 2 x 2 picture in RLE8 may end with the end marker, with the last row's end of line, or with
// its last pixel; moves may reach the right edge and the row below the last. Anything short of
// the last pixel is cut short; anything past the picture is damage.
TEST(LoadBmp8, Rle8EndsAfterTheLastRowInEveryWayWritersEndIt) {
  const std::pair<std::vector<uint8_t>, std::string> cases[] = {
      {{2, 9, 0, 0, 2, 8, 0, 1}, "no error"},
      {{2, 9, 0, 0, 2, 8}, "no error"},
      {{2, 9, 0, 0, 2, 8, 0, 0}, "no error"},
      {{2, 9, 0, 0, 2, 8, 0, 0, 0, 1}, "no error"},
      {{0, 2, 2, 0, 0, 1}, "no error"},        // to the right edge
      {{2, 9, 0, 2, 0, 2, 0, 1}, "no error"},  // to the row below the last
      {{2, 9, 0, 0, 1, 8}, "truncated"},
      {{2, 9, 0, 0}, "truncated"},
      {{2, 9}, "truncated"},
      {{2, 9, 0, 0, 2, 8, 0, 0, 0, 0, 0, 1}, "damaged RLE data"},
      {{2, 9, 0, 0, 2, 8, 0, 0, 1, 7}, "damaged RLE data"},
      {{0, 2, 3, 0, 0, 1}, "damaged RLE data"},
      {{0, 2, 0, 3, 0, 1}, "damaged RLE data"},
  };
  for (const auto& [data, error] : cases) {
    BmpFile f;
    f.width = f.height = 2;
    f.compression = 1;
    f.data = data;
    const std::vector<uint8_t> bytes = f.Bytes();
    ASSERT_EQ(ErrorOf(bytes), error) << ::testing::PrintToString(data);
    if (error == "no error" && data.size() > 4 && data[4] == 2) {
      EXPECT_EQ(Load(bytes)->Pixels(), (std::vector<uint8_t>{8, 8, 9, 9}));
    }
  }
}

TEST(LoadBmp8, EveryCutShortFileIsTruncated) {
  for (const std::vector<uint8_t>& whole : {Plain().Bytes(), Rle().Bytes()}) {
    ASSERT_EQ(ErrorOf(whole), "no error");
    // Only the last row's padding byte may be missing.
    for (size_t n = 2; n + 1 < whole.size(); ++n) {
      const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(n));
      ASSERT_EQ(ErrorOf(cut), "truncated") << "cut to " << n << " of " << whole.size();
    }
  }
  const std::vector<uint8_t> unpadded = Plain().Bytes();
  EXPECT_EQ(ErrorOf({unpadded.begin(), unpadded.end() - 1}), "no error");
}

TEST(LoadBmp8, EachKindOfDamageHasItsOwnError) {
  const auto with = [](BmpFile f, auto change) {
    change(f);
    return f.Bytes();
  };
  const auto rle = [&](std::vector<uint8_t> data) {
    return with(Rle(1), [&](BmpFile& f) { f.data = data; });
  };
  const std::pair<std::vector<uint8_t>, std::string> cases[] = {
      {{}, "not a BMP file"},
      {{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, "not a BMP file"},
      {with(Plain(), [](BmpFile& f) { f.bits = 24; }),
       "not a 256-colour picture (24 bits per pixel)"},
      {with(Plain(), [](BmpFile& f) { f.compression = 3; }), "unsupported compression (3)"},
      {with(Plain(), [](BmpFile& f) { f.headerSize = 39; }), "unsupported BMP header (39 bytes)"},
      {Patched(Plain(), 10, 14 + 40 - 1), "bad pixel data offset"},
      {Patched(Plain(), 46, 257), "bad palette size (257 colours)"},
      {with(Plain(), [](BmpFile& f) { f.width = 16385; }), "bad picture size (16385x2)"},
      {with(Plain(), [](BmpFile& f) { f.width = 0; }), "bad picture size (0x2)"},
      {with(Plain(), [](BmpFile& f) { f.height = 0; }), "bad picture size (3x0)"},
      {with(Plain(), [](BmpFile& f) { f.height = -16385; }), "bad picture size (3x-16385)"},
      {with(Plain(), [](BmpFile& f) { f.width = INT32_MIN; }), "bad picture size (-2147483648x2)"},
      // Past 16 million pixels, refused before anything is allocated.
      {with(Rle(), [](BmpFile& f) { f.width = 4097, f.height = 4096; }),
       "bad picture size (4097x4096)"},
      {rle({7, 1, 0, 1}), "damaged RLE data"},                    // a run past the row's end
      {rle({3, 1, 0, 4, 1, 2, 3, 4, 0, 1}), "damaged RLE data"},  // a literal past the row's end
      {rle({0, 2, 0, 3, 0, 1}), "damaged RLE data"},              // a move below the picture
      {rle({0, 0, 1, 5, 0, 1}), "damaged RLE data"},              // pixels below the picture
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(ErrorOf(cases[i].first), cases[i].second) << "case " << i;

  // Exactly 16 million pixels, or 16384 on a side, is still a picture.
  for (const auto& [width, height] : {std::pair{4096, 4096}, {16384, 1}, {1, -16384}}) {
    const auto s = Load(with(Rle(), [&](BmpFile& f) {
      f.width = width, f.height = height;
      f.data = {0, 1};  // the end of the picture at once
    }));
    EXPECT_EQ(s->Pixels().size(), size_t(width) * size_t(std::abs(height))) << width;
  }
}

}  // namespace
}  // namespace media
