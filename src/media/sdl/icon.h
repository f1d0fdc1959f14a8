// The window's icon: the game's icon, as the desktop shows it in title bars and task lists.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <span>

namespace media {

// Sets the PNG picture png as the window's icon; a picture that cannot be
// read leaves the window without one.
void SetWindowIcon(SDL_Window* window, std::span<const uint8_t> png);

}  // namespace media
