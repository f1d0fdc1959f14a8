// The window a player's session plays in, through SDL.
#include <iostream>

#include "app/window.h"
#include "media/sdl/system.h"

namespace app {

std::unique_ptr<media::System> OpenWindow(const Options& options) {
  media::SdlOptions sdl;
  sdl.window = options.window;
  sdl.scale = options.scale;
  sdl.keys = options.keysByPosition ? media::KeyReading::Position : media::KeyReading::Character;
  sdl.mute = options.mute;
  sdl.notice = [](const std::string& line) { std::cerr << "rapiko: " << line << '\n'; };
  return media::CreateSdlSystem(sdl);
}

}  // namespace app
