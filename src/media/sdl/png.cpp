// Screenshots: an 8-bit frame and its palette written as a PNG file.
#include "media/sdl/png.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>
#include <memory>

namespace media {

void WritePng(const std::string& path, const std::vector<uint8_t>& pixels, int32_t width,
              int32_t height, const Palette& palette) {
  if (width <= 0 || height <= 0 ||
      pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
    throw PlatformError(path + ": cannot write a picture of " + std::to_string(width) + " x " +
                        std::to_string(height) + " from " + std::to_string(pixels.size()) +
                        " pixels");
  }
  std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> surface(
      SDL_CreateRGBSurfaceWithFormat(0, width, height, 8, SDL_PIXELFORMAT_INDEX8), SDL_FreeSurface);
  if (!surface) throw PlatformError(path + ": cannot write: " + SDL_GetError());

  SDL_Color colors[256];
  for (size_t i = 0; i < 256; ++i) {
    const Color& c = palette.Colors()[i];
    colors[i] = SDL_Color{c.r, c.g, c.b, 255};
  }
  SDL_SetPaletteColors(surface->format->palette, colors, 0, 256);

  auto* rows = static_cast<uint8_t*>(surface->pixels);
  for (int32_t y = 0; y < height; ++y) {
    std::memcpy(rows + static_cast<size_t>(y) * static_cast<size_t>(surface->pitch),
                pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width),
                static_cast<size_t>(width));
  }
  if (IMG_SavePNG(surface.get(), path.c_str()) != 0) {
    throw PlatformError(path + ": cannot write: " + IMG_GetError());
  }
}

}  // namespace media
