// Lines of text rasterised once and kept.
#include "media/text_lines.h"

#include <algorithm>

#include "media/text.h"

namespace media {

const TextLines::Line& TextLines::Get(const Font& font, const std::string& text, int32_t x,
                                      int32_t surfaceWidth) {
  key_.assign(std::to_string(x)).append(1, ' ').append(std::to_string(surfaceWidth));
  key_.append(1, ' ').append(text);
  if (auto it = lines_.find(key_); it != lines_.end()) return it->second;
  if (lines_.size() >= kMaxLines) lines_.clear();
  Line& line = lines_[key_];

  const int64_t first = std::max<int64_t>(0, -int64_t{x});
  const int64_t end = std::max<int64_t>(first, int64_t{surfaceWidth} - x);
  const int32_t height = font.Height();
  int64_t pen = 0;
  std::vector<std::pair<const Glyph*, int64_t>> placed;
  for (char32_t cp : DecodeGameText(text)) {
    if (pen >= end) break;
    const Glyph* glyph = font.GlyphFor(cp);
    if (!glyph) continue;
    if (pen + glyph->width > first) placed.emplace_back(glyph, pen);
    pen += glyph->width;
  }
  line.firstColumn = static_cast<int32_t>(first);
  line.width = static_cast<int32_t>(std::clamp<int64_t>(pen, first, end) - first);
  line.ink.assign(static_cast<size_t>(line.width) * static_cast<size_t>(height), 0);
  for (const auto& [glyph, at] : placed) {
    for (int32_t gy = 0; gy < height; ++gy) {
      for (int32_t gx = 0; gx < glyph->width; ++gx) {
        const int64_t column = at + gx - first;
        if (column < 0 || column >= line.width || !glyph->Ink(gx, gy)) continue;
        line.ink[static_cast<size_t>(gy) * static_cast<size_t>(line.width) +
                 static_cast<size_t>(column)] = 0xFF;
      }
    }
  }
  return line;
}

}  // namespace media
