// Setting the window's icon from the icon embedded in the program.
#include "media/sdl/icon.h"

#include "media/png.h"

namespace media {

void SetWindowIcon(SDL_Window* window, std::span<const uint8_t> png) {
  if (png.empty()) return;
  const auto picture = DecodePng(png);
  if (!picture) return;  // the game plays as well without it
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<uint8_t*>(picture->rgba.data()), picture->width, picture->height, 32,
      picture->width * 4, SDL_PIXELFORMAT_RGBA32);
  if (!icon) return;
  SDL_SetWindowIcon(window, icon);
  SDL_FreeSurface(icon);
}

}  // namespace media
