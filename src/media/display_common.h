// The display work both backends share: the flip chain and the pictures
// loaded from back.bmp and from the embedded glyph sheet.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "media/surface.h"

namespace media {

// Makes an empty surface; a backend passes its own to add logging or to keep
// what the surface relies on alive.
using SurfaceMaker = std::function<std::shared_ptr<SoftSurface>(int32_t width, int32_t height,
                                                                const std::string& label)>;

// Finds an embedded file by name; an empty span when there is none.
using ResourceLookup = std::function<std::span<const uint8_t>(std::string_view name)>;

// The file name at the end of a path ("back.bmp" of "/games/rapiko/back.bmp").
std::string FileNameOf(const std::string& path);

// The only display mode there is. Throws PlatformError for any other.
void CheckDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel);

struct FlipChain {
  std::shared_ptr<SoftSurface> primary;  // label "primary"
  std::shared_ptr<SoftSurface> back;     // label "back", attached to primary
};

// A 640 x 480 primary surface with one back buffer; its flips go to presenter.
FlipChain MakeFlipChain(int32_t backBufferCount, Presenter* presenter, const SurfaceMaker& make);

// The palette of a 256-colour BMP file. Errors are one line naming the file.
std::shared_ptr<Palette> LoadPaletteFromBmpFile(const std::string& path);

// The largest BMP file read: no 640 x 480 picture comes near it, in any depth
// or compression.
constexpr std::size_t kMaxBmpFileBytes = std::size_t{16} << 20;

// A 256-colour BMP file of exactly width x height, with its own palette,
// labelled "background". Errors are one line naming the file.
std::shared_ptr<SoftSurface> LoadBackgroundFromFile(const std::string& path, int32_t width,
                                                    int32_t height, const SurfaceMaker& make);

// The embedded BMP `name` cut to its top-left width x height (the stored sheet
// is two columns wider), with its own palette and indices, labelled "sprite".
std::shared_ptr<SoftSurface> LoadSheetFromResource(const std::string& name,
                                                   std::span<const uint8_t> bytes, int32_t width,
                                                   int32_t height, const SurfaceMaker& make);

}  // namespace media
