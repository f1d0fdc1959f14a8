// Counts the frames an SDL2 program presents, for the window benchmark: a
// library loaded with LD_PRELOAD in front of SDL.
//
// Each of SDL's present calls made by the program (a renderer's present, a
// window surface update, an OpenGL swap) is passed on to SDL and counted in
// the file named by RAPIKO_PRESENT_COUNTER, mapped into memory so that
// counting costs no system call: two little-endian 64-bit numbers, the frames
// presented so far and the wall-clock time (CLOCK_REALTIME, microseconds) at
// which the first present returned. SDL's calls inside itself are not seen,
// so a frame is counted once however SDL carries it out.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <ctime>

namespace {

struct Counter {
  uint64_t frames;
  int64_t firstPresentUs;
};

Counter* Shared() {
  static Counter* counter = [] {
    const char* path = std::getenv("RAPIKO_PRESENT_COUNTER");
    if (!path) return static_cast<Counter*>(nullptr);
    const int fd = open(path, O_RDWR | O_CREAT, 0644);
    if (fd < 0 || ftruncate(fd, sizeof(Counter)) != 0) return static_cast<Counter*>(nullptr);
    void* mem = mmap(nullptr, sizeof(Counter), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    close(fd);
    return mem == MAP_FAILED ? nullptr : static_cast<Counter*>(mem);
  }();
  return counter;
}

void Count() {
  Counter* c = Shared();
  if (!c) return;
  if (c->firstPresentUs == 0) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    c->firstPresentUs = static_cast<int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
  }
  std::atomic_ref<uint64_t>(c->frames).fetch_add(1, std::memory_order_relaxed);
}

template <typename Fn>
Fn Next(const char* name) {
  return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

void SDL_RenderPresent(void* renderer) {
  static const auto real = Next<void (*)(void*)>("SDL_RenderPresent");
  real(renderer);
  Count();
}

int SDL_UpdateWindowSurface(void* window) {
  static const auto real = Next<int (*)(void*)>("SDL_UpdateWindowSurface");
  const int result = real(window);
  Count();
  return result;
}

int SDL_UpdateWindowSurfaceRects(void* window, const void* rects, int count) {
  static const auto real = Next<int (*)(void*, const void*, int)>("SDL_UpdateWindowSurfaceRects");
  const int result = real(window, rects, count);
  Count();
  return result;
}

void SDL_GL_SwapWindow(void* window) {
  static const auto real = Next<void (*)(void*)>("SDL_GL_SwapWindow");
  real(window);
  Count();
}

}  // extern "C"
