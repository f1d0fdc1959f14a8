// Checks the committed assets (glyph sheet, sounds, background, word list) straight from their
// bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <compare>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

struct Rgb {
  uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
  auto operator<=>(const Rgb&) const = default;
};

constexpr Rgb kKeyBlue{0, 0, 255};

std::vector<uint8_t> ReadAsset(const std::string& name) {
  std::ifstream in(std::string(RAPIKO_ASSETS_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t U16(const std::vector<uint8_t>& d, size_t at) { return d.at(at) | d.at(at + 1) << 8; }
uint32_t U32(const std::vector<uint8_t>& d, size_t at) { return U16(d, at) | U16(d, at + 2) << 16; }

// An uncompressed 8-bit BMP with its palette and its rows top row first.
struct Bmp8 {
  int32_t width = 0;
  int32_t height = 0;
  std::array<Rgb, 256> palette{};
  std::vector<uint8_t> pixels;
  uint8_t At(int32_t x, int32_t y) const { return pixels.at(static_cast<size_t>(y * width + x)); }
};

std::optional<Bmp8> ParseBmp8(const std::vector<uint8_t>& d) {
  if (d.size() < 54 + 1024 || d[0] != 'B' || d[1] != 'M') return std::nullopt;
  if (U32(d, 14) != 40 || U16(d, 28) != 8 || U32(d, 30) != 0) return std::nullopt;
  const uint32_t colours = U32(d, 46) == 0 ? 256 : U32(d, 46);
  if (colours != 256) return std::nullopt;
  Bmp8 bmp;
  bmp.width = static_cast<int32_t>(U32(d, 18));
  bmp.height = static_cast<int32_t>(U32(d, 22));  // positive: bottom-up
  if (bmp.width <= 0 || bmp.height <= 0) return std::nullopt;
  for (size_t i = 0; i < 256; ++i) {
    bmp.palette[i] = {d[54 + 4 * i + 2], d[54 + 4 * i + 1], d[54 + 4 * i]};
  }
  const size_t offset = U32(d, 10);
  const size_t stride = (static_cast<size_t>(bmp.width) + 3) & ~size_t{3};
  if (offset + stride * static_cast<size_t>(bmp.height) > d.size()) return std::nullopt;
  for (int32_t y = 0; y < bmp.height; ++y) {
    const size_t row = offset + stride * static_cast<size_t>(bmp.height - 1 - y);
    bmp.pixels.insert(
        bmp.pixels.end(), d.begin() + static_cast<std::ptrdiff_t>(row),
        d.begin() + static_cast<std::ptrdiff_t>(row + static_cast<size_t>(bmp.width)));
  }
  return bmp;
}

struct Wav {
  uint32_t formatTag = 0, channels = 0, rate = 0, byteRate = 0, blockAlign = 0, bits = 0;
  std::vector<uint8_t> data;
  bool hasFormat = false, hasData = false;
};

std::optional<Wav> ParseWav(const std::vector<uint8_t>& d) {
  if (d.size() < 12 || std::string(d.begin(), d.begin() + 4) != "RIFF" ||
      std::string(d.begin() + 8, d.begin() + 12) != "WAVE") {
    return std::nullopt;
  }
  Wav wav;
  size_t at = 12;
  while (at + 8 <= d.size()) {
    const std::string id(d.begin() + static_cast<std::ptrdiff_t>(at),
                         d.begin() + static_cast<std::ptrdiff_t>(at + 4));
    const size_t size = U32(d, at + 4);
    if (at + 8 + size > d.size()) return std::nullopt;
    if (id == "fmt " && size >= 16) {
      wav.formatTag = U16(d, at + 8);
      wav.channels = U16(d, at + 10);
      wav.rate = U32(d, at + 12);
      wav.byteRate = U32(d, at + 16);
      wav.blockAlign = U16(d, at + 20);
      wav.bits = U16(d, at + 22);
      wav.hasFormat = true;
    } else if (id == "data") {
      wav.data.assign(d.begin() + static_cast<std::ptrdiff_t>(at + 8),
                      d.begin() + static_cast<std::ptrdiff_t>(at + 8 + size));
      wav.hasData = true;
    }
    at += 8 + size + (size & 1);
  }
  return wav;
}

// The samples of a PCM buffer as signed values scaled to 16 bits.
std::vector<int32_t> Samples(const Wav& wav) {
  std::vector<int32_t> out;
  if (wav.bits == 8) {
    for (uint8_t b : wav.data) out.push_back((b - 128) * 256);
  } else {
    for (size_t i = 0; i + 1 < wav.data.size(); i += 2) {
      out.push_back(static_cast<int16_t>(wav.data[i] | wav.data[i + 1] << 8));
    }
  }
  return out;
}

// --- glyph sheet -----------------------------------------------------------------

constexpr uint8_t kKey = 128;
constexpr int32_t kCellW = 49;
constexpr int32_t kCellH = 37;

struct Rect {
  int32_t left, top, right, bottom;  // right and bottom exclusive
  bool Holds(int32_t x, int32_t y) const {
    return x >= left && x < right && y >= top && y < bottom;
  }
};

// Cells of the sheet's 7 x 6 grid that hold a character (column by column).
std::vector<Rect> LetterCells() {
  const int rowsInColumn[7] = {6, 6, 6, 6, 6, 6, 2};
  std::vector<Rect> cells;
  for (int32_t col = 0; col < 7; ++col) {
    for (int32_t row = 0; row < rowsInColumn[col]; ++row) {
      if (col == 4 && row == 3) continue;  // the empty cell
      cells.push_back({col * kCellW, row * kCellH, col * kCellW + kCellW, row * kCellH + kCellH});
    }
  }
  return cells;
}

const Rect kMarker{300, 96, 332, 127};
const Rect kGaugeFree{300, 143, 332, 159};
const Rect kGaugeTaken{300, 127, 332, 143};
const Rect kGlow{0, 222, 49, 259};

class GlyphSheet : public ::testing::Test {
 protected:
  void SetUp() override {
    auto bmp = ParseBmp8(ReadAsset("abc.bmp"));
    ASSERT_TRUE(bmp) << "abc.bmp is not an uncompressed 8-bit BMP with 256 colours";
    sheet_ = *bmp;
  }
  bool AnyInk(const Rect& r) const {
    for (int32_t y = r.top; y < r.bottom; ++y) {
      for (int32_t x = r.left; x < r.right; ++x) {
        if (sheet_.At(x, y) != kKey) return true;
      }
    }
    return false;
  }
  Bmp8 sheet_;
};

TEST_F(GlyphSheet, HasTheSizeAndAPaletteWithOnlyTheKeyPureBlue) {
  EXPECT_EQ(sheet_.width, 348);
  EXPECT_EQ(sheet_.height, 262);
  EXPECT_EQ(sheet_.palette[kKey], kKeyBlue);
  for (size_t i = 0; i < 256; ++i) {
    if (i != kKey) {
      EXPECT_NE(sheet_.palette[i], kKeyBlue) << "entry " << i;
    }
  }
}

TEST_F(GlyphSheet, EndsInABlackStrip) {
  for (int32_t y = 0; y < sheet_.height; ++y) {
    for (int32_t x : {346, 347})
      EXPECT_EQ(sheet_.palette[sheet_.At(x, y)], (Rgb{0, 0, 0})) << x << "," << y;
  }
}

TEST_F(GlyphSheet, EveryCharacterCellHoldsAGlyphWithBackgroundAroundIt) {
  for (const Rect& c : LetterCells()) {
    EXPECT_TRUE(AnyInk(c)) << "cell at " << c.left << "," << c.top << " is empty";
    // The cell's border is background, so neighbouring letters never touch.
    for (int32_t x = c.left; x < c.right; ++x) {
      EXPECT_EQ(sheet_.At(x, c.top), kKey) << x << "," << c.top;
      EXPECT_EQ(sheet_.At(x, c.bottom - 1), kKey) << x << "," << c.bottom - 1;
    }
    for (int32_t y = c.top; y < c.bottom; ++y) {
      EXPECT_EQ(sheet_.At(c.left, y), kKey) << c.left << "," << y;
      EXPECT_EQ(sheet_.At(c.right - 1, y), kKey) << c.right - 1 << "," << y;
    }
  }
}

TEST_F(GlyphSheet, TheCellBetweenHyphenAndOneIsEmpty) {
  EXPECT_FALSE(AnyInk({196, 111, 196 + kCellW, 111 + kCellH}));
}

TEST_F(GlyphSheet, PicturesLieInTheirSourceRectangles) {
  EXPECT_TRUE(AnyInk(kMarker));
  EXPECT_TRUE(AnyInk(kGaugeFree));
  EXPECT_TRUE(AnyInk(kGaugeTaken));
  EXPECT_TRUE(AnyInk(kGlow));
  // The marker is a hollow ring: the locked letter shows through its middle.
  EXPECT_EQ(sheet_.At(316, 111), kKey);
  // The taken gauge cell is an outline, the free one is filled.
  EXPECT_EQ(sheet_.At(316, 135), kKey);
  EXPECT_NE(sheet_.At(316, 151), kKey);
  // The glow is white in its middle.
  EXPECT_EQ(sheet_.palette[sheet_.At(25, 242)], (Rgb{255, 255, 255}));
}

TEST_F(GlyphSheet, NothingStraysOutsideTheKnownPictures) {
  std::vector<Rect> allowed = LetterCells();
  allowed.insert(allowed.end(), {kMarker,
                                 kGaugeFree,
                                 kGaugeTaken,
                                 kGlow,
                                 {300, 80, 332, 96},    // red bar
                                 {217, 238, 307, 253},  // the four small squares
                                 {346, 0, 348, 262}});  // black strip
  for (int32_t y = 0; y < sheet_.height; ++y) {
    for (int32_t x = 0; x < sheet_.width; ++x) {
      if (sheet_.At(x, y) == kKey) continue;
      bool inside = false;
      for (const Rect& r : allowed) inside = inside || r.Holds(x, y);
      EXPECT_TRUE(inside) << "stray pixel at " << x << "," << y;
    }
  }
}

// --- sounds --------------------------------------------------------------------

struct ExpectedSound {
  const char* file;
  uint32_t rate;
  uint32_t bits;
  size_t dataBytes;
};

const ExpectedSound kSounds[] = {
    {"kyan.wav", 22050, 8, 5385},    {"shot.wav", 22050, 16, 5760},   {"hit.wav", 11025, 8, 6207},
    {"fueen.wav", 22050, 16, 96234}, {"start.wav", 22050, 16, 16444}, {"end.wav", 22050, 8, 33856},
    {"type.wav", 22050, 8, 3697},
};

TEST(SoundAssets, HaveTheirFormatAndDataSize) {
  for (const ExpectedSound& s : kSounds) {
    SCOPED_TRACE(s.file);
    auto wav = ParseWav(ReadAsset(s.file));
    ASSERT_TRUE(wav) << "not a RIFF WAVE file";
    ASSERT_TRUE(wav->hasFormat && wav->hasData);
    EXPECT_EQ(wav->formatTag, 1u);
    EXPECT_EQ(wav->channels, 1u);
    EXPECT_EQ(wav->rate, s.rate);
    EXPECT_EQ(wav->bits, s.bits);
    EXPECT_EQ(wav->blockAlign, s.bits / 8);
    EXPECT_EQ(wav->byteRate, s.rate * s.bits / 8);
    EXPECT_EQ(wav->data.size(), s.dataBytes);
  }
}

TEST(SoundAssets, AreAudibleUnclippedAndFadeInAndOut) {
  std::set<std::vector<uint8_t>> distinct;
  for (const ExpectedSound& s : kSounds) {
    SCOPED_TRACE(s.file);
    auto wav = ParseWav(ReadAsset(s.file));
    ASSERT_TRUE(wav && wav->hasData && !wav->data.empty());
    const std::vector<int32_t> v = Samples(*wav);
    int32_t peak = 0;
    for (int32_t x : v) peak = std::max(peak, std::abs(x));
    EXPECT_GT(peak, 32768 / 4) << "too quiet";
    EXPECT_LT(peak, 32767 - 256) << "clipped";
    EXPECT_LT(std::abs(v.front()), 768) << "starts with a click";
    EXPECT_LT(std::abs(v.back()), 768) << "ends with a click";
    distinct.insert(wav->data);
  }
  EXPECT_EQ(distinct.size(), std::size(kSounds));
}

// --- background ------------------------------------------------------------------

TEST(BackgroundAsset, IsA640By480PictureWithTheGameColoursInItsPalette) {
  auto back = ParseBmp8(ReadAsset("back.bmp"));
  ASSERT_TRUE(back) << "back.bmp is not an uncompressed 8-bit BMP with 256 colours";
  EXPECT_EQ(back->width, 640);
  EXPECT_EQ(back->height, 480);
  const std::set<Rgb> colours(back->palette.begin(), back->palette.end());
  for (Rgb c :
       {Rgb{102, 0, 51}, Rgb{255, 230, 230}, Rgb{255, 255, 255}, Rgb{255, 0, 0}, Rgb{0, 0, 0}}) {
    EXPECT_TRUE(colours.count(c)) << int{c.r} << "," << int{c.g} << "," << int{c.b};
  }
  for (uint8_t p : back->pixels)
    ASSERT_NE(back->palette[p], kKeyBlue) << "the picture shows pure blue";
}

TEST(BackgroundAsset, HoldsEveryColourTheGlyphSheetShows) {
  auto back = ParseBmp8(ReadAsset("back.bmp"));
  auto sheet = ParseBmp8(ReadAsset("abc.bmp"));
  ASSERT_TRUE(back && sheet);
  const std::set<Rgb> colours(back->palette.begin(), back->palette.end());
  std::set<uint8_t> used(sheet->pixels.begin(), sheet->pixels.end());
  for (uint8_t i : used) {
    const Rgb c = sheet->palette[i];
    EXPECT_TRUE(colours.count(c)) << "sheet index " << int{i};
  }
}

// Relative luminance (0 dark to 1 light) of an sRGB colour.
double Luminance(Rgb c) {
  auto linear = [](uint8_t v) {
    const double s = v / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

double Contrast(Rgb a, Rgb b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(BackgroundAsset, LetsDarkPurpleTextReadEverywhere) {
  // The frame rate line and the score pop-ups are drawn straight onto the
  // picture in dark purple, anywhere on it; 4.5 : 1 is the usual floor for
  // text that must read. A dark picture misses it almost everywhere.
  const Rgb text{102, 0, 51};
  EXPECT_NEAR(Contrast(Rgb{0, 0, 0}, Rgb{255, 255, 255}), 21.0, 1e-9);
  EXPECT_LT(Contrast(text, Rgb{70, 50, 110}), 4.5) << "a dusky violet would pass";
  auto back = ParseBmp8(ReadAsset("back.bmp"));
  ASSERT_TRUE(back);
  for (int32_t y = 0; y < back->height; ++y) {
    for (int32_t x = 0; x < back->width; ++x) {
      const Rgb c = back->palette[back->At(x, y)];
      ASSERT_GE(Contrast(text, c), 4.5)
          << "at " << x << "," << y << ": " << int{c.r} << "," << int{c.g} << "," << int{c.b};
    }
  }
}

// --- word list -------------------------------------------------------------------

TEST(WordListAsset, HoldsAHundredPlainWordsOnCrLfLines) {
  const std::vector<uint8_t> d = ReadAsset("rapdata.ini");
  const std::string text(d.begin(), d.end());
  ASSERT_FALSE(text.empty());
  ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = text.find("\r\n", at);
    ASSERT_NE(end, std::string::npos) << "a line without CR LF";
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  EXPECT_EQ(lines.size(), 100u);
  std::set<std::string> unique;
  for (const std::string& w : lines) {
    EXPECT_GE(w.size(), 3u) << w;
    EXPECT_LE(w.size(), 10u) << w;
    std::string upper;
    for (char c : w) {
      const char u = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
      EXPECT_TRUE(u >= 'A' && u <= 'Z') << "'" << w << "' holds a character other than A-Z";
      upper += u;
    }
    unique.insert(upper);
  }
  EXPECT_EQ(unique.size(), lines.size()) << "a word appears twice";
}

}  // namespace
