// Checks of the committed assets: glyph sheet, sounds, background and word list.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "media/surface.h"
#include "media/wav.h"
#include "support/test_files.h"

namespace media {
namespace {

constexpr uint8_t kKey = 128;
constexpr Color kKeyBlue{0, 0, 255};

std::vector<uint8_t> ReadAsset(const std::string& name) {
  std::ifstream in(std::string(RAPIKO_ASSETS_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The picture as the game reads it: LoadBmp8 takes 8-bit pictures only.
std::shared_ptr<SoftSurface> LoadAsset(const std::string& name) {
  const std::vector<uint8_t> bytes = ReadAsset(name);
  return LoadBmp8(bytes.data(), bytes.size(), name);
}

// The sheet's pictures: 7 columns of 49 x 37 letter cells, then the marker
// ring, the two gauge cells, the glow, the red bar, the four small squares
// and the black strip beyond 346.
const Rect kMarker{300, 96, 332, 127}, kGaugeTaken{300, 127, 332, 143},
    kGaugeFree{300, 143, 332, 159}, kGlow{0, 222, 49, 259}, kRedBar{300, 80, 332, 96},
    kSquares{217, 238, 307, 253}, kStrip{346, 0, 348, 262};

std::vector<Rect> LetterCells() {
  std::vector<Rect> cells;
  for (int32_t col = 0; col < 7; ++col) {
    for (int32_t row = 0; row < (col == 6 ? 2 : 6); ++row) {
      if (col == 4 && row == 3) continue;  // the empty cell between hyphen and one
      cells.push_back({col * 49, row * 37, col * 49 + 49, row * 37 + 37});
    }
  }
  return cells;
}

TEST(GlyphSheet, IsOnlyLetterCellsAndPicturesInTheirPlacesOnIndex128PureBlue) {
  const auto sheet = LoadAsset("abc.bmp");
  ASSERT_EQ(sheet->Width(), 348);
  ASSERT_EQ(sheet->Height(), 262);
  const auto& colors = sheet->GetPalette()->Colors();
  for (size_t i = 0; i < 256; ++i) EXPECT_EQ(colors[i] == kKeyBlue, i == kKey) << "entry " << i;
  const auto anyInk = [&](const Rect& r) {
    for (int32_t y = r.top; y < r.bottom; ++y)
      for (int32_t x = r.left; x < r.right; ++x)
        if (sheet->At(x, y) != kKey) return true;
    return false;
  };
  std::vector<Rect> allowed = LetterCells();
  for (const Rect& c : allowed) EXPECT_TRUE(anyInk(c)) << c.left << "," << c.top;
  EXPECT_FALSE(anyInk({196, 111, 245, 148}));  // the empty cell
  for (const Rect& r : {kMarker, kGaugeTaken, kGaugeFree, kGlow}) EXPECT_TRUE(anyInk(r));
  allowed.insert(allowed.end(),
                 {kMarker, kGaugeTaken, kGaugeFree, kGlow, kRedBar, kSquares, kStrip});
  for (int32_t y = 0; y < sheet->Height(); ++y) {
    for (int32_t x = 0; x < sheet->Width(); ++x) {
      const bool inside = std::any_of(allowed.begin(), allowed.end(), [&](const Rect& r) {
        return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
      });
      ASSERT_TRUE(sheet->At(x, y) == kKey || inside) << "stray pixel at " << x << "," << y;
    }
  }
}

TEST(SoundAssets, HaveTheirFormatAndDataSize) {
  const struct {
    const char* file;
    uint32_t rate, bits, dataBytes;
  } sounds[] = {{"kyan.wav", 22050, 8, 5385},    {"shot.wav", 22050, 16, 5760},
                {"hit.wav", 11025, 8, 6207},     {"fueen.wav", 22050, 16, 96234},
                {"start.wav", 22050, 16, 16444}, {"end.wav", 22050, 8, 33856},
                {"type.wav", 22050, 8, 3697}};
  for (const auto& s : sounds) {
    const WaveInfo info = ReadWaveInfo(ReadAsset(s.file));
    // PCM, mono, rate, bits per sample, bytes a second, data size.
    EXPECT_EQ((std::vector<uint32_t>{info.formatTag, info.channels, info.samplesPerSecond,
                                     info.bitsPerSample, info.bytesPerSecond, info.dataBytes}),
              (std::vector<uint32_t>{1, 1, s.rate, s.bits, s.rate * s.bits / 8, s.dataBytes}))
        << s.file;
  }
  // Every byte of a field counts, though these sounds leave the high ones zero.
  const WaveInfo wide = ReadWaveInfo(test_files::MakeWav(0x12345678, 0x0108, 2));
  EXPECT_EQ(wide.samplesPerSecond, 0x12345678u);
  EXPECT_EQ(wide.bitsPerSample, 0x0108u);
}

// The contrast ratio of two sRGB colours (1 to 21).
double Contrast(Color a, Color b) {
  const auto luminance = [](Color c) {
    const auto linear = [](uint8_t v) {
      const double s = v / 255.0;
      return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(BackgroundAsset, Is640By480WithTheGameColoursAndReadableDarkPurpleText) {
  const auto back = LoadAsset("back.bmp");
  EXPECT_EQ(back->Width(), 640);
  EXPECT_EQ(back->Height(), 480);
  const auto& colors = back->GetPalette()->Colors();
  for (Color c : {Color{102, 0, 51}, Color{255, 230, 230}, Color{255, 255, 255}, Color{255, 0, 0},
                  Color{0, 0, 0}}) {
    EXPECT_NE(std::find(colors.begin(), colors.end(), c), colors.end())
        << int{c.r} << "," << int{c.g} << "," << int{c.b};
  }
  // The frame rate line and the score pop-ups are dark purple anywhere on
  // the picture; 4.5 : 1 is the usual floor for text that must read.
  for (int32_t y = 0; y < 480; ++y) {
    for (int32_t x = 0; x < 640; ++x)
      ASSERT_GE(Contrast(Color{102, 0, 51}, colors[back->At(x, y)]), 4.5) << x << "," << y;
  }
}

TEST(WordListAsset, HoldsAHundredLinesOfThreeToTenLetters) {
  const std::vector<uint8_t> bytes = ReadAsset("rapdata.ini");
  const std::string text(bytes.begin(), bytes.end());
  ASSERT_TRUE(text.ends_with("\r\n"));
  size_t lines = 0;
  for (size_t at = 0; at < text.size(); ++lines) {
    const size_t end = text.find("\r\n", at);
    const std::string word = text.substr(at, end - at);
    EXPECT_TRUE(word.size() >= 3 && word.size() <= 10) << word;
    EXPECT_TRUE(std::all_of(word.begin(), word.end(), [](char c) {
      return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
    })) << word;
    at = end + 2;
  }
  EXPECT_EQ(lines, 100u);
}

}  // namespace
}  // namespace media
