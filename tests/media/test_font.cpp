// Tests of the embedded font, text drawing and the decoding of game text bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "media/font.h"
#include "media/resources.h"
#include "media/surface.h"
#include "media/text.h"

namespace media {
namespace {

const std::string kNamePrompt = "名前を入力:";
const std::string kNameHelp = "Enterで決定\u3000Back spaceで一文字消す";

const Font& TheFont() {
  const Font* font = EmbeddedFont();
  if (!font) throw std::runtime_error("the embedded font is missing or damaged");
  return *font;
}

// --- the embedded font ---------------------------------------------------------

TEST(EmbeddedFont, HoldsEveryCharacterTheGameShows) {
  const Font& font = TheFont();
  EXPECT_EQ(font.Height(), 16);
  for (char32_t cp = 0x20; cp <= 0x7E; ++cp) EXPECT_NE(font.Find(cp), nullptr) << uint32_t{cp};
  for (char32_t cp = 0xA0; cp <= 0xFF; ++cp) EXPECT_NE(font.Find(cp), nullptr) << uint32_t{cp};
  for (const std::string& text : {kNamePrompt, kNameHelp}) {
    for (char32_t cp : DecodeGameText(text)) EXPECT_NE(font.Find(cp), nullptr) << uint32_t{cp};
  }
  ASSERT_NE(font.Find(0xFFFD), nullptr);
  EXPECT_EQ(font.Find(0x41)->width, 8);
  EXPECT_EQ(font.Find(0x540D)->width, 16);  // 名
  EXPECT_EQ(font.Find(0x3000)->width, 16);  // ideographic space
}

TEST(EmbeddedFont, ReplacementGlyphIsVisibleAndUsedForMissingCharacters) {
  const Font& font = TheFont();
  const Glyph* replacement = font.Find(0xFFFD);
  ASSERT_NE(replacement, nullptr);
  int ink = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < replacement->width; ++x) ink += replacement->Ink(x, y);
  }
  EXPECT_GT(ink, 30);
  EXPECT_EQ(font.Find(0x20AC), nullptr);  // euro sign: not in the subset
  EXPECT_EQ(font.GlyphFor(0x20AC), replacement);
  EXPECT_EQ(font.GlyphFor(0x09), replacement);  // control characters too
  EXPECT_EQ(font.GlyphFor(0x41), font.Find(0x41));
  EXPECT_EQ(font.TextWidth(U"A名\u20AC"), 8 + 16 + replacement->width);
}

// A small well-formed font: 'A' (8 wide) and U+FFFD (16 wide), height 2.
std::vector<uint8_t> TinyFont() {
  return {'R',  'F',  'N',  'T', 1,  2, 2, 0, 0x41, 0, 0, 0, 8,  // 'A', 8 wide
          0xFD, 0xFF, 0,    0,   16,                             // U+FFFD, 16 wide
          0x81, 0x7E,                                            // 'A': two rows of one byte
          0xF0, 0x0F, 0x0F, 0xF0};                               // U+FFFD: two rows of two bytes
}

TEST(FontParse, ReadsAWellFormedFont) {
  const std::vector<uint8_t> data = TinyFont();
  const auto font = Font::Parse(data);
  ASSERT_TRUE(font.has_value());
  EXPECT_EQ(font->Height(), 2);
  EXPECT_EQ(font->GlyphCount(), 2u);
  const Glyph* a = font->Find(0x41);
  ASSERT_NE(a, nullptr);
  EXPECT_TRUE(a->Ink(0, 0));
  EXPECT_FALSE(a->Ink(1, 0));
  EXPECT_TRUE(a->Ink(7, 0));
  EXPECT_FALSE(a->Ink(0, 1));
  EXPECT_TRUE(a->Ink(1, 1));
  const Glyph* r = font->Find(0xFFFD);
  ASSERT_NE(r, nullptr);
  EXPECT_TRUE(r->Ink(0, 0));
  EXPECT_FALSE(r->Ink(8, 0));
  EXPECT_TRUE(r->Ink(12, 0));
  EXPECT_TRUE(r->Ink(4, 1));
  EXPECT_FALSE(r->Ink(15, 1));
  EXPECT_EQ(font->GlyphFor('B'), r);
}

TEST(FontParse, RejectsDamagedData) {
  const std::vector<uint8_t> good = TinyFont();
  for (size_t n = 0; n < good.size(); ++n) {
    EXPECT_FALSE(Font::Parse(std::span(good.data(), n)).has_value()) << "cut to " << n << " bytes";
  }
  auto withExtra = good;
  withExtra.push_back(0);
  EXPECT_FALSE(Font::Parse(withExtra).has_value());

  const auto broken = [&](size_t offset, uint8_t value) {
    auto data = good;
    data[offset] = value;
    return !Font::Parse(data).has_value();
  };
  EXPECT_TRUE(broken(0, 'X'));    // magic
  EXPECT_TRUE(broken(4, 2));      // version
  EXPECT_TRUE(broken(5, 0));      // height 0
  EXPECT_TRUE(broken(12, 12));    // width neither 8 nor 16
  EXPECT_TRUE(broken(10, 1));     // U+10041 before U+FFFD: not ascending
  EXPECT_TRUE(broken(16, 0x11));  // code point above U+10FFFF
}

TEST(FontParse, TheEmbeddedResourceIsExactlyAWellFormedFont) {
  const auto data = FindResource("FONT");
  ASSERT_FALSE(data.empty());
  EXPECT_TRUE(Font::Parse(data).has_value());
  EXPECT_FALSE(Font::Parse(data.first(data.size() - 1)).has_value());
}

// --- drawing text --------------------------------------------------------------

class TextTest : public ::testing::Test {
 protected:
  static constexpr uint8_t kPaper = 9;
  static constexpr uint8_t kInk = 4;

  void SetUp() override {
    std::array<Color, 256> colors{};
    colors[kPaper] = Color{0, 0, 200};
    colors[kInk] = Color{250, 250, 250};
    colors[5] = Color{102, 0, 51};
    surface.SetPalette(std::make_shared<Palette>(colors));
    std::fill(surface.Pixels().begin(), surface.Pixels().end(), kPaper);
    surface.SetForeColor(MakeRgb(255, 255, 255));
  }

  // Whether the glyph of cp, drawn at (gx, gy), inks the surface pixel (x, y).
  static bool GlyphInks(char32_t cp, int32_t gx, int32_t gy, int32_t x, int32_t y) {
    const Glyph* g = TheFont().GlyphFor(cp);
    if (x < gx || y < gy || x >= gx + g->width || y >= gy + 16) return false;
    return g->Ink(x - gx, y - gy);
  }

  SoftSurface surface{64, 40, "back"};
};

TEST_F(TextTest, DrawsGlyphInkInTheForeColourAndLeavesTheRestAlone) {
  surface.DrawText(3, 5, "Ag");
  int inked = 0;
  for (int32_t y = 0; y < surface.Height(); ++y) {
    for (int32_t x = 0; x < surface.Width(); ++x) {
      const bool ink = GlyphInks('A', 3, 5, x, y) || GlyphInks('g', 11, 5, x, y);
      EXPECT_EQ(surface.At(x, y), ink ? kInk : kPaper) << x << "," << y;
      inked += ink;
    }
  }
  EXPECT_GT(inked, 20);
}

TEST_F(TextTest, UsesTheForeColourInForceAsTheNearestPaletteEntry) {
  surface.SetForeColor(MakeRgb(100, 0, 50));
  surface.DrawText(0, 0, "W");
  surface.DrawText(20, 0, "W");  // the colour stays for the next text
  EXPECT_GT(std::count(surface.Pixels().begin(), surface.Pixels().end(), 5), 10);
  EXPECT_EQ(std::count(surface.Pixels().begin(), surface.Pixels().end(), kInk), 0);
}

TEST_F(TextTest, FullWidthCharactersAdvanceSixteenPixels) {
  surface.DrawText(0, 0, "名A");
  SoftSurface expected(64, 40, "expected");
  expected.SetPalette(surface.GetPalette());
  std::fill(expected.Pixels().begin(), expected.Pixels().end(), kPaper);
  expected.SetForeColor(MakeRgb(255, 255, 255));
  expected.DrawText(0, 0, "名");
  expected.DrawText(16, 0, "A");
  EXPECT_EQ(surface.Pixels(), expected.Pixels());
}

TEST_F(TextTest, UnknownCharactersAndControlBytesDrawTheReplacementGlyph) {
  const std::string replacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8
  SoftSurface expected = surface;
  expected.DrawText(2, 2, replacement + replacement + replacement);
  surface.DrawText(2, 2, "\xE2\x82\xAC\t\x01");  // euro sign, tab, control byte
  EXPECT_EQ(surface.Pixels(), expected.Pixels());
}

TEST_F(TextTest, BytesThatAreNotUtf8AreDrawnAsLatin1) {
  SoftSurface expected = surface;
  expected.DrawText(2, 2, "caf\xC3\xA9");  // café in UTF-8
  surface.DrawText(2, 2, "caf\xE9");       // café in Latin-1
  EXPECT_EQ(surface.Pixels(), expected.Pixels());
  EXPECT_NE(std::count(surface.Pixels().begin(), surface.Pixels().end(), kInk), 0);
}

TEST_F(TextTest, ClippedAtEveryEdgeOfTheSurface) {
  const std::string text = "WM";
  const int32_t spots[][2] = {{-5, 3}, {3, -7}, {55, 3}, {3, 30}, {-9, -9}, {60, 36}};
  for (const auto& spot : spots) {
    SCOPED_TRACE(::testing::Message() << spot[0] << "," << spot[1]);
    std::fill(surface.Pixels().begin(), surface.Pixels().end(), kPaper);
    surface.DrawText(spot[0], spot[1], text);
    for (int32_t y = 0; y < surface.Height(); ++y) {
      for (int32_t x = 0; x < surface.Width(); ++x) {
        const bool ink =
            GlyphInks('W', spot[0], spot[1], x, y) || GlyphInks('M', spot[0] + 8, spot[1], x, y);
        ASSERT_EQ(surface.At(x, y), ink ? kInk : kPaper) << x << "," << y;
      }
    }
  }
  // Far outside: nothing drawn, nothing touched.
  std::fill(surface.Pixels().begin(), surface.Pixels().end(), kPaper);
  surface.DrawText(INT32_MIN, INT32_MIN, text);
  surface.DrawText(INT32_MAX, INT32_MAX, text);
  surface.DrawText(INT32_MAX - 4, 0, text);
  EXPECT_EQ(std::count(surface.Pixels().begin(), surface.Pixels().end(), kPaper), 64 * 40);
}

TEST_F(TextTest, ReportsTheTextWithTheForeColourInForce) {
  struct Log : SurfaceObserver {
    void OnSurfaceOp(const SurfaceOp& op) override { ops.push_back(op); }
    std::vector<SurfaceOp> ops;
  } log;
  surface.SetObserver(&log);
  surface.SetForeColor(MakeRgb(102, 0, 51));
  surface.DrawText(60, 400, kNamePrompt);
  ASSERT_EQ(log.ops.size(), 2u);
  EXPECT_EQ(log.ops[1].kind, SurfaceOp::Kind::Text);
  EXPECT_EQ(log.ops[1].x, 60);
  EXPECT_EQ(log.ops[1].y, 400);
  EXPECT_EQ(log.ops[1].text, kNamePrompt);
  EXPECT_EQ(log.ops[1].fore, MakeRgb(102, 0, 51));
}

// --- decoding game text ----------------------------------------------------------

TEST(DecodeGameText, Utf8SequencesBecomeCodePoints) {
  EXPECT_EQ(DecodeGameText(""), U"");
  EXPECT_EQ(DecodeGameText("Rapiko Ver1.03"), U"Rapiko Ver1.03");
  EXPECT_EQ(DecodeGameText(kNameHelp), U"Enterで決定\u3000Back spaceで一文字消す");
  EXPECT_EQ(DecodeGameText("\xC3\xA9\xF0\x9F\x98\x80"), U"\u00E9\U0001F600");
  EXPECT_EQ(DecodeGameText(std::string("a\0b", 3)), std::u32string(U"a\0b", 3));
}

TEST(DecodeGameText, BytesStartingNoValidSequenceAreLatin1) {
  EXPECT_EQ(DecodeGameText("caf\xE9"), U"caf\u00E9");
  EXPECT_EQ(DecodeGameText("\xC0\xAF"), U"\u00C0\u00AF");                      // overlong '/'
  EXPECT_EQ(DecodeGameText("\xE0\x80\xAF"), U"\u00E0\u0080\u00AF");            // overlong, 3 bytes
  EXPECT_EQ(DecodeGameText("\xED\xA0\x80"), U"\u00ED\u00A0\u0080");            // surrogate
  EXPECT_EQ(DecodeGameText("\xF4\x90\x80\x80"), U"\u00F4\u0090\u0080\u0080");  // above U+10FFFF
  EXPECT_EQ(DecodeGameText("\xE5\x90"), U"\u00E5\u0090");                      // cut off at the end
  EXPECT_EQ(DecodeGameText("\xE5\x90Z"), U"\u00E5\u0090Z");          // cut off by a letter
  EXPECT_EQ(DecodeGameText("\x80\xFF\xFE"), U"\u0080\u00FF\u00FE");  // stray bytes
  // A valid sequence right after a broken one is still read as UTF-8.
  EXPECT_EQ(DecodeGameText("\xE9\xC3\xA9"), U"\u00E9\u00E9");
}

TEST(ToJsonUtf8, GivesValidUtf8ThatDecodesToTheSameText) {
  EXPECT_EQ(ToJsonUtf8("plain"), "plain");
  EXPECT_EQ(ToJsonUtf8(kNamePrompt), kNamePrompt);  // valid UTF-8 is kept
  EXPECT_EQ(ToJsonUtf8("caf\xE9"), "caf\xC3\xA9");
  EXPECT_EQ(ToJsonUtf8("\xFF"), "\xC3\xBF");

  std::string everyByte;
  for (int b = 0; b < 256; ++b) everyByte.push_back(static_cast<char>(b));
  everyByte += kNameHelp + "\xE5\x90";
  const std::string json = ToJsonUtf8(everyByte);
  EXPECT_EQ(DecodeGameText(json), DecodeGameText(everyByte));
  EXPECT_EQ(ToJsonUtf8(json), json);  // valid UTF-8: decoding gave no Latin-1 fallback
}

TEST(AppendUtf8, EncodesEveryLengthAndReplacesWhatUtf8CannotCarry) {
  std::string out;
  for (char32_t cp : {U'\x41', U'\xE9', U'\x540D', U'\U0001F600'}) AppendUtf8(out, cp);
  EXPECT_EQ(out, "A\xC3\xA9\xE5\x90\x8D\xF0\x9F\x98\x80");
  out.clear();
  AppendUtf8(out, 0xD800);
  AppendUtf8(out, 0x110000);
  EXPECT_EQ(out, "\xEF\xBF\xBD\xEF\xBF\xBD");
}

}  // namespace
}  // namespace media
