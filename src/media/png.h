// PNG pictures: screenshots written from an 8-bit frame and its palette, and
// pictures (the window's icon, a test's screenshot) read as RGBA.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "media/surface.h"

namespace media {

// The PNG file of 8-bit pixels through their palette: one IDAT of libpng's
// defaults, so that the same frame gives the same bytes on every platform.
// Throws PlatformError when the pixels are not width x height.
std::string EncodePng(const std::vector<uint8_t>& pixels, int32_t width, int32_t height,
                      const Palette& palette);

// EncodePng written to path. Throws PlatformError naming the path when the
// file cannot be written.
void WritePng(const std::string& path, const std::vector<uint8_t>& pixels, int32_t width,
              int32_t height, const Palette& palette);

struct RgbaPicture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgba;  // four bytes a pixel, rows top to bottom
};

// A PNG file's picture, or nothing when the bytes are not one.
std::optional<RgbaPicture> DecodePng(std::span<const uint8_t> png);

}  // namespace media
