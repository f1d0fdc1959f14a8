// The floor of the window benchmark: the least an SDL2 program does to show a
// changing 640 x 480 picture full screen at 60 frames a second.
//
// A streaming ARGB8888 texture written every frame, cleared, copied with the
// same nearest-neighbour whole-multiple scaling and letterboxing the game
// shows, and presented through SDL's software renderer straight to the X
// window (no OpenGL behind the window surface: the cheapest stock SDL2 path
// where OpenGL runs on the processor). Runs until the window is closed or
// the process is stopped.
//
// With --keys it is the floor of the key-to-picture latency instead: it
// sleeps until an event comes, and on each key press fills the picture with
// the next colour and presents it at once (bench/key_latency.cpp measures
// it beside the game).
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr auto kPeriod = std::chrono::nanoseconds(1'000'000'000 / 60);

// Fills the picture with one colour and presents it.
void ShowColor(SDL_Renderer* render, SDL_Texture* texture, uint32_t color) {
  void* pixels = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(texture, nullptr, &pixels, &pitch) == 0) {
    for (int y = 0; y < kHeight; ++y) {
      auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(pixels) +
                                              static_cast<size_t>(y) * pitch);
      std::fill(row, row + kWidth, color);
    }
    SDL_UnlockTexture(texture);
  }
  SDL_SetRenderDrawColor(render, 0, 0, 0, 255);
  SDL_RenderClear(render);
  SDL_RenderCopy(render, texture, nullptr, nullptr);
  SDL_RenderPresent(render);
}

// --keys: asleep until an event; each key press shows the next colour at once.
int ShowEachKey(SDL_Renderer* render, SDL_Texture* texture) {
  constexpr uint32_t kColors[] = {0xFF3060C0u, 0xFFE0A020u, 0xFF20A060u, 0xFFC02040u};
  size_t shown = 0;
  ShowColor(render, texture, kColors[0]);
  SDL_Event e;
  while (SDL_WaitEvent(&e)) {
    if (e.type == SDL_QUIT) break;
    if (e.type == SDL_KEYDOWN && !e.key.repeat) {
      shown = (shown + 1) % std::size(kColors);
      ShowColor(render, texture, kColors[shown]);
    } else if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_EXPOSED) {
      ShowColor(render, texture, kColors[shown]);
    }
  }
  SDL_Quit();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // --renderer NAME tries another of SDL's renderers (for example opengl).
  std::string renderer = "software";
  bool keys = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--renderer") == 0 && i + 1 < argc) {
      renderer = argv[++i];
    } else if (std::strcmp(argv[i], "--keys") == 0) {
      keys = true;
    } else {
      std::fprintf(stderr, "usage: rapiko_sdl_floor [--renderer NAME] [--keys]\n");
      return 2;
    }
  }
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "rapiko_sdl_floor: %s\n", SDL_GetError());
    return 1;
  }
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, renderer.c_str());
  if (renderer == "software") SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_Window* window =
      SDL_CreateWindow("Rapiko floor", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, kWidth,
                       kHeight, SDL_WINDOW_FULLSCREEN_DESKTOP);
  SDL_Renderer* render =
      window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC) : nullptr;
  SDL_Texture* texture = render ? SDL_CreateTexture(render, SDL_PIXELFORMAT_ARGB8888,
                                                    SDL_TEXTUREACCESS_STREAMING, kWidth, kHeight)
                                : nullptr;
  if (!texture) {
    std::fprintf(stderr, "rapiko_sdl_floor: %s\n", SDL_GetError());
    return 1;
  }
  int outW = 0;
  int outH = 0;
  SDL_GetRendererOutputSize(render, &outW, &outH);
  SDL_RenderSetLogicalSize(render, kWidth, kHeight);
  SDL_RenderSetIntegerScale(render,
                            outW >= 2 * kWidth && outH >= 2 * kHeight ? SDL_TRUE : SDL_FALSE);

  // Twice the screen's height of stripes; each frame shows the next window
  // of it, so every frame differs from the last.
  std::vector<uint32_t> stripes(static_cast<size_t>(kWidth) * kHeight * 2);
  for (size_t i = 0; i < stripes.size(); ++i) {
    const uint32_t v = static_cast<uint32_t>((i / kWidth + i % kWidth) & 0xFF);
    stripes[i] = 0xFF000000u | v << 16 | (255 - v) << 8 | (v * 3 & 0xFF);
  }

  if (keys) return ShowEachKey(render, texture);

  auto next = std::chrono::steady_clock::now();
  for (uint64_t frame = 0;; ++frame) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
      if (e.type == SDL_QUIT) {
        SDL_Quit();
        return 0;
      }
    }
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture, nullptr, &pixels, &pitch) == 0) {
      const uint32_t* from = stripes.data() + (frame % kHeight) * kWidth;
      for (int y = 0; y < kHeight; ++y) {
        std::memcpy(static_cast<uint8_t*>(pixels) + static_cast<size_t>(y) * pitch,
                    from + static_cast<size_t>(y) * kWidth, kWidth * 4);
      }
      SDL_UnlockTexture(texture);
    }
    SDL_SetRenderDrawColor(render, 0, 0, 0, 255);
    SDL_RenderClear(render);
    SDL_RenderCopy(render, texture, nullptr, nullptr);
    SDL_RenderPresent(render);
    // Deadlines on an absolute clock: 60 frames a second, never drifting.
    next += kPeriod;
    const auto now = std::chrono::steady_clock::now();
    if (next < now) next = now;
    std::this_thread::sleep_until(next);
  }
}
