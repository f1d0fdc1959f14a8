// The files embedded in the program: glyph sheet, sounds, font.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace media {

// The bytes of an embedded resource ("ABC", "WAVHIT", "FONT", ...), or an
// empty span when there is none of that name.
std::span<const uint8_t> FindResource(std::string_view name);

}  // namespace media
