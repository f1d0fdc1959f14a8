// Setting the window's icon from the icon embedded in the program.
#include "media/sdl/icon.h"

#include <SDL_image.h>

namespace media {

void SetWindowIcon(SDL_Window* window, std::span<const uint8_t> png) {
  if (png.empty()) return;
  SDL_RWops* in = SDL_RWFromConstMem(png.data(), static_cast<int>(png.size()));
  if (!in) return;
  SDL_Surface* icon = IMG_LoadPNG_RW(in);
  SDL_RWclose(in);
  if (!icon) return;  // the game plays as well without it
  SDL_SetWindowIcon(window, icon);
  SDL_FreeSurface(icon);
}

}  // namespace media
