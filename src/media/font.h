// The embedded bitmap font (a subset of GNU Unifont) used by DrawText.
//
// Format of the "FONT" resource (made by tools/make_font.py; all numbers
// little-endian):
//   0   4  magic "RFNT"
//   4   1  version, 1
//   5   1  glyph height in pixels (16)
//   6   2  glyph count N (at least 1)
//   8  5N  N records in strictly ascending code point order: code point
//          (u32, at most U+10FFFF), width in pixels (u8, 8 or 16)
//   ..     the bitmaps in record order, each height rows of width / 8 bytes,
//          top row first, most significant bit leftmost, 1 = ink
// The file ends exactly after the last bitmap.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace media {

struct Glyph {
  char32_t codePoint = 0;
  int32_t width = 0;              // 8 (half-width) or 16 (full-width)
  const uint8_t* rows = nullptr;  // height rows of width / 8 bytes

  bool Ink(int32_t x, int32_t y) const {
    const int32_t bytesPerRow = width / 8;
    return (rows[y * bytesPerRow + x / 8] >> (7 - x % 8)) & 1;
  }
};

class Font {
 public:
  // The font in data, or nothing when data is not a well-formed font. The
  // glyphs point into data, which must outlive the font.
  static std::optional<Font> Parse(std::span<const uint8_t> data);

  int32_t Height() const { return height_; }
  // The glyph of cp, or nullptr when the font lacks it.
  const Glyph* Find(char32_t cp) const;
  // The glyph drawn for cp: its own, else U+FFFD's (nullptr if that is
  // missing too).
  const Glyph* GlyphFor(char32_t cp) const;
  // The width in pixels of the text drawn as DrawText draws it.
  int32_t TextWidth(const std::u32string& text) const;
  size_t GlyphCount() const { return glyphs_.size(); }

 private:
  int32_t height_ = 0;
  std::vector<Glyph> glyphs_;  // ascending code points
};

// The font embedded in the program, parsed once on first use; nullptr when
// the resource is missing or damaged (text is then not drawn).
const Font* EmbeddedFont();

}  // namespace media
