// Parses the embedded bitmap font (format in font.h) and finds its glyphs.
#include "media/font.h"

#include <algorithm>

#include "media/resources.h"

namespace media {
namespace {

constexpr size_t kHeaderSize = 8;
constexpr size_t kRecordSize = 5;
constexpr char32_t kReplacement = 0xFFFD;

uint32_t ReadU32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

}  // namespace

std::optional<Font> Font::Parse(std::span<const uint8_t> data) {
  if (data.size() < kHeaderSize) return std::nullopt;
  const uint8_t* p = data.data();
  if (p[0] != 'R' || p[1] != 'F' || p[2] != 'N' || p[3] != 'T' || p[4] != 1) return std::nullopt;
  const int32_t height = p[5];
  const size_t count = size_t{p[6]} | size_t{p[7]} << 8;
  if (height == 0 || count == 0) return std::nullopt;
  if (data.size() - kHeaderSize < count * kRecordSize) return std::nullopt;

  Font font;
  font.height_ = height;
  font.glyphs_.reserve(count);
  size_t offset = kHeaderSize + count * kRecordSize;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* record = p + kHeaderSize + i * kRecordSize;
    const char32_t cp = ReadU32(record);
    const int32_t width = record[4];
    if (cp > 0x10FFFF || (width != 8 && width != 16)) return std::nullopt;
    if (i > 0 && cp <= font.glyphs_.back().codePoint) return std::nullopt;
    const size_t bytes = static_cast<size_t>(height) * static_cast<size_t>(width / 8);
    if (data.size() - offset < bytes) return std::nullopt;
    font.glyphs_.push_back(Glyph{cp, width, p + offset});
    offset += bytes;
  }
  if (offset != data.size()) return std::nullopt;
  return font;
}

const Glyph* Font::Find(char32_t cp) const {
  const auto it = std::lower_bound(glyphs_.begin(), glyphs_.end(), cp,
                                   [](const Glyph& g, char32_t c) { return g.codePoint < c; });
  if (it == glyphs_.end() || it->codePoint != cp) return nullptr;
  return &*it;
}

const Glyph* Font::GlyphFor(char32_t cp) const {
  const Glyph* glyph = Find(cp);
  return glyph ? glyph : Find(kReplacement);
}

int32_t Font::TextWidth(const std::u32string& text) const {
  int64_t width = 0;
  for (char32_t cp : text) {
    if (const Glyph* glyph = GlyphFor(cp)) width += glyph->width;
  }
  return static_cast<int32_t>(std::min<int64_t>(width, INT32_MAX));
}

const Font* EmbeddedFont() {
  static const std::optional<Font> font = Font::Parse(FindResource("FONT"));
  return font ? &*font : nullptr;
}

}  // namespace media
