// Screenshots: an 8-bit frame and its palette written as a PNG file.
#include "media/sdl/png.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>
#include <memory>

#include "storage/errors.h"
#include "storage/write.h"

namespace media {
namespace {

// An SDL stream that appends what is written to a string, so that the file
// itself is written, and its every failure seen, by our own code.
SDL_RWops* StringWriter(std::string& out) {
  SDL_RWops* rw = SDL_AllocRW();
  if (!rw) return nullptr;
  rw->type = SDL_RWOPS_UNKNOWN;
  rw->hidden.unknown.data1 = &out;
  rw->size = [](SDL_RWops*) -> Sint64 { return -1; };
  rw->seek = [](SDL_RWops*, Sint64, int) -> Sint64 { return -1; };
  rw->read = [](SDL_RWops*, void*, size_t, size_t) -> size_t { return 0; };
  rw->write = [](SDL_RWops* self, const void* data, size_t size, size_t count) -> size_t {
    static_cast<std::string*>(self->hidden.unknown.data1)
        ->append(static_cast<const char*>(data), size * count);
    return count;
  };
  rw->close = [](SDL_RWops* self) -> int {
    SDL_FreeRW(self);
    return 0;
  };
  return rw;
}

}  // namespace

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
  std::string png;
  SDL_RWops* writer = StringWriter(png);
  if (!writer || IMG_SavePNG_RW(surface.get(), writer, 1) != 0) {
    throw PlatformError(path + ": cannot write: " + IMG_GetError());
  }
  if (const int error = storage::ReplaceFile(path, png).Failure()) {
    throw PlatformError(path + ": cannot write: " + storage::ErrorText(error));
  }
}

}  // namespace media
