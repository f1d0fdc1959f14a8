// Tests of text drawing with the embedded font and of the decoding of game text bytes.
#include "media/font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

#include "media/surface.h"
#include "media/text.h"

namespace media {
namespace {

const std::string kNameHelp = "Enterで決定\u3000Back spaceで一文字消す";

TEST(Font, GlyphInkTakesTheForeColourWhereverTheLineIsDrawnOrCut) {
  // Paper is index 9, white ink index 4. The same surface draws the same line
  // again and again: kept lines must follow the place and the cut at each
  // edge; the rest shows through.
  constexpr uint8_t kPaper = 9, kInk = 4;
  std::array<Color, 256> colors{};
  colors[kPaper] = Color{0, 0, 200};
  colors[kInk] = Color{250, 250, 250};
  SoftSurface surface(64, 40, "back");
  surface.SetPalette(std::make_shared<Palette>(colors));
  surface.SetForeColor(MakeRgb(255, 255, 255));
  const Font* font = EmbeddedFont();
  ASSERT_TRUE(font);
  const Glyph* a = font->Find('A');
  const Glyph* g = font->Find('g');
  ASSERT_TRUE(a && g);
  for (const auto& [px, py] : {std::pair{3, 5}, {-5, 5}, {50, 30}, {3, -9}, {60, 5}, {3, 5}}) {
    std::fill(surface.Pixels().begin(), surface.Pixels().end(), kPaper);
    surface.DrawText(px, py, "Ag");
    int wrong = 0;
    for (int32_t y = 0; y < surface.Height(); ++y) {
      for (int32_t x = 0; x < surface.Width(); ++x) {
        const int32_t gy = y - py;
        const bool row = gy >= 0 && gy < 16;
        const bool inA = row && x >= px && x < px + 8 && a->Ink(x - px, gy);
        const bool inG = row && x >= px + 8 && x < px + 16 && g->Ink(x - px - 8, gy);
        wrong += surface.At(x, y) != (inA || inG ? kInk : kPaper);
      }
    }
    EXPECT_EQ(wrong, 0) << "at " << px << "," << py;
  }
  EXPECT_GT(std::count(surface.Pixels().begin(), surface.Pixels().end(), kInk), 20);
}

// A font of 'A' (8 wide) and U+FFFD (16 wide), 2 rows high, whole or damaged one way each.
TEST(Font, ParsesOnlyAWellFormedFont) {
  const std::vector<uint8_t> good = {'R',  'F',  'N', 'T', 1, 2,    2,    0,         // header
                                     'A',  0,    0,   0,   8, 0xFD, 0xFF, 0, 0, 16,  // records
                                     0x81, 0x42, 1,   2,   3, 5};                    // bitmaps
  const std::optional<Font> font = Font::Parse(good);
  ASSERT_TRUE(font);
  EXPECT_EQ(font->Height(), 2);
  ASSERT_EQ(font->GlyphCount(), 2u);
  EXPECT_TRUE(font->Find('A')->Ink(0, 0) && font->Find('A')->Ink(7, 0));
  EXPECT_FALSE(font->Find('A')->Ink(1, 0));
  EXPECT_EQ(font->GlyphFor('B'), font->Find(0xFFFD));
  EXPECT_TRUE(font->Find(0xFFFD)->Ink(15, 1));
  EXPECT_EQ(font->TextWidth(U"AB"), 24);
  // Each damage: byte `at` becomes `value` (unless both are 0), then the size changes by `grow`.
  const struct {
    const char* what;
    size_t at;
    uint8_t value;
    int grow;
  } damage[] = {
      {"magic R", 0, 'X', 0},
      {"magic F", 1, 'X', 0},
      {"magic N", 2, 'X', 0},
      {"magic T", 3, 'X', 0},
      {"version", 4, 2, 0},
      {"no height", 5, 0, 0},
      {"no glyphs", 6, 0, 0},
      {"records cut", 6, 5, 0},
      {"past U+10FFFF", 15, 0x11, 0},
      {"not ascending", 10, 1, 0},
      {"width 12, its bytes there", 17, 12, -2},
      {"bitmap cut", 0, 0, -1},
      {"bytes after", 0, 0, 1},
  };
  for (const auto& c : damage) {
    std::vector<uint8_t> bytes = good;
    if (c.at || c.value) bytes[c.at] = c.value;
    bytes.resize(static_cast<size_t>(static_cast<int>(bytes.size()) + c.grow));
    EXPECT_FALSE(Font::Parse(bytes)) << c.what;
  }
  // The last code point there is may have a glyph; one code point may not have two.
  std::vector<uint8_t> last = good, twice = good;
  last[13] = last[14] = 0xFF, last[15] = 0x10;
  twice[13] = 'A', twice[14] = 0;
  EXPECT_TRUE(Font::Parse(last));
  EXPECT_FALSE(Font::Parse(twice));
}

TEST(DecodeGameText, Utf8IsKeptAndOtherBytesAreLatin1) {
  EXPECT_EQ(DecodeGameText(kNameHelp), U"Enterで決定\u3000Back spaceで一文字消す");
  EXPECT_EQ(DecodeGameText("\xC3\xA9\xF0\x9F\x98\x80"), U"\u00E9\U0001F600");
  EXPECT_EQ(DecodeGameText("caf\xE9"), U"caf\u00E9");
  EXPECT_EQ(DecodeGameText("\xC0\xAF"), U"\u00C0\u00AF");                      // overlong
  EXPECT_EQ(DecodeGameText("\xED\xA0\x80"), U"\u00ED\u00A0\u0080");            // surrogate
  EXPECT_EQ(DecodeGameText("\xF4\x90\x80\x80"), U"\u00F4\u0090\u0080\u0080");  // above U+10FFFF
  EXPECT_EQ(DecodeGameText("\xE5\x90Z"), U"\u00E5\u0090Z");                    // cut short
  EXPECT_EQ(DecodeGameText("\xE9\xC3\xA9"), U"\u00E9\u00E9");  // UTF-8 again after a stray byte
  // UTF-16 word files: a high surrogate without its low half is one U+FFFD.
  EXPECT_EQ(Utf16ToUtf8(std::string("\x3D\xD8"
                                    "A\0",
                                    4),
                        false),
            "\xEF\xBF\xBD"
            "A");
  EXPECT_EQ(Utf16ToUtf8(std::string("\xFF\xDF", 2), false), "\xEF\xBF\xBD");  // lone low half
}

// Each lead byte's range and each length's code points at both ends, the surrogates' edges, and
// sequences cut short: what is valid is one code point, anything else a code point a byte.
TEST(DecodeGameText, EachSequenceIsReadUpToTheLimitsOfItsLength) {
  const std::pair<std::string, std::u32string> cases[] = {
      {"\xC2\x80", U"\u0080"},
      {"\xDF\xBF", U"\u07FF"},
      {"\xE0\xA0\x80", U"\u0800"},
      {"\xED\x9F\xBF", U"\uD7FF"},
      {"\xEE\x80\x80", U"\uE000"},
      {"\xEF\xBF\xBF", U"\uFFFF"},
      {"\xF0\x90\x80\x80", U"\U00010000"},
      {"\xF4\x8F\xBF\xBF", U"\U0010FFFF"},
      {"\xC1\xBF", U"\u00C1\u00BF"},                      // overlong
      {"\xE0\x9F\xBF", U"\u00E0\u009F\u00BF"},            // overlong
      {"\xF0\x8F\xBF\xBF", U"\u00F0\u008F\u00BF\u00BF"},  // overlong
      {"\xED\xBF\xBF", U"\u00ED\u00BF\u00BF"},            // the last surrogate
      {"\xF5\x80\x80\x80", U"\u00F5\u0080\u0080\u0080"},  // no such lead byte
      {"\xC3", U"\u00C3"},                                // cut at the end
      {"\xF0\x90\x80", U"\u00F0\u0090\u0080"},            // cut at the end
      {"\xC3Z", U"\u00C3Z"},                              // no continuation
      {"\xE2\x82Z", U"\u00E2\u0082Z"},
  };
  for (const auto& [bytes, text] : cases) {
    EXPECT_EQ(DecodeGameText(bytes), text) << ::testing::PrintToString(bytes);
  }
}

// Both byte orders, pairs at the edges of both halves' ranges, and whatever is left unpaired.
TEST(Utf16ToUtf8, PairsMakeOneCodePointAndWhatIsLeftUnpairedIsReplaced) {
  const std::string fffd = "\xEF\xBF\xBD";
  const struct {
    std::string bytes;
    bool bigEndian;
    std::string utf8;
  } cases[] = {
      {std::string("A\0", 2), false, "A"},
      {std::string("\0A", 2), true, "A"},
      {std::string("\x3D\xD8\x00\xDE", 4), false, "\xF0\x9F\x98\x80"},
      {std::string("\xD8\x3D\xDE\x00", 4), true, "\xF0\x9F\x98\x80"},
      {std::string("\x00\xD8\x00\xDC", 4), false, "\xF0\x90\x80\x80"},
      {std::string("\xFF\xDB\xFF\xDF", 4), false, "\xF4\x8F\xBF\xBF"},
      {"\xFF\xD7", false, "\xED\x9F\xBF"},
      {"\x3D\xD8\x3D\xD8", false, fffd + fffd},
      {std::string("\x00\xDC\x00\xDC", 4), false, fffd + fffd},
      {std::string("\x3D\xD8\x00", 3), false, fffd + fffd},
      {std::string("A\0B", 3), false, "A" + fffd},
      {"A", false, fffd},
      {"", false, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf16ToUtf8(c.bytes, c.bigEndian), c.utf8) << ::testing::PrintToString(c.bytes);
  }
}

// Each length of sequence at both of its ends; what cannot be encoded becomes U+FFFD.
TEST(AppendUtf8, EncodesEachLengthAtItsEnds) {
  const std::pair<char32_t, std::string> cases[] = {
      {0x41, "A"},
      {0x7F, "\x7F"},
      {0x80, "\xC2\x80"},
      {0x7FF, "\xDF\xBF"},
      {0x800, "\xE0\xA0\x80"},
      {0xFFFF, "\xEF\xBF\xBF"},
      {0x10000, "\xF0\x90\x80\x80"},
      {0x10FFFF, "\xF4\x8F\xBF\xBF"},
      {0x110000, "\xEF\xBF\xBD"},
      {0xD800, "\xEF\xBF\xBD"},
      {0xDFFF, "\xEF\xBF\xBD"},
  };
  for (const auto& [cp, bytes] : cases) {
    std::string out = "x";
    AppendUtf8(out, cp);
    EXPECT_EQ(out, "x" + bytes) << std::hex << uint32_t(cp);
  }
}

TEST(ToJsonUtf8, GivesValidUtf8OfTheSameText) {
  EXPECT_EQ(ToJsonUtf8("名前を入力:"), "名前を入力:");
  EXPECT_EQ(ToJsonUtf8("caf\xE9"), "caf\xC3\xA9");
  std::string everyByte;
  for (int b = 0; b < 256; ++b) everyByte.push_back(static_cast<char>(b));
  everyByte += kNameHelp + "\xE5\x90";
  const std::string json = ToJsonUtf8(everyByte);
  EXPECT_EQ(DecodeGameText(json), DecodeGameText(everyByte));
  EXPECT_EQ(ToJsonUtf8(json), json);  // nothing in it needed the Latin-1 fallback
}

}  // namespace
}  // namespace media
