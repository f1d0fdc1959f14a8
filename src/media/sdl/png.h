// Screenshots: an 8-bit frame and its palette written as a PNG file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/surface.h"

namespace media {

// Writes 8-bit pixels through their palette as a PNG file. Throws
// PlatformError naming the path when the file cannot be written.
void WritePng(const std::string& path, const std::vector<uint8_t>& pixels, int32_t width,
              int32_t height, const Palette& palette);

}  // namespace media
