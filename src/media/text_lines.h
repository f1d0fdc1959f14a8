// Lines of text rasterised once and kept, so that a line drawn again every
// frame (the title screen's ranking) costs a masked copy, not a glyph walk.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "media/font.h"

namespace media {

class TextLines {
 public:
  // The part of a line that falls inside the surface: its first column
  // (from the line's left edge), its width, and the font's height in rows
  // of width bytes, 0xFF where there is ink.
  struct Line {
    int32_t firstColumn = 0;
    int32_t width = 0;
    std::vector<uint8_t> ink;
  };

  // The line of text in font, drawn from column x of a surface
  // surfaceWidth wide.
  const Line& Get(const Font& font, const std::string& text, int32_t x, int32_t surfaceWidth);

 private:
  // At most this many lines are kept (a screen's lines many times over);
  // past it the store starts afresh, so changing lines do not pile up.
  static constexpr size_t kMaxLines = 128;
  std::unordered_map<std::string, Line> lines_;
  std::string key_;
};

}  // namespace media
