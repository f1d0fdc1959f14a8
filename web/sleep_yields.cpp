// Sleeping in the browser build: the page's one thread hands the browser its turn (drawing,
// keys, sound) for the time asked, instead of spinning as emscripten's own sleep does.
#include <emscripten.h>

#include <cerrno>
#include <cmath>
#include <ctime>

extern "C" int nanosleep(const timespec* request, timespec* remaining) {
  if (!request || request->tv_nsec < 0 || request->tv_nsec > 999999999L || request->tv_sec < 0) {
    errno = EINVAL;
    return -1;
  }
  const double ms = double(request->tv_sec) * 1000.0 + double(request->tv_nsec) / 1e6;
  // The browser's timers count whole milliseconds; a short sleep still yields.
  emscripten_sleep(static_cast<unsigned>(std::lround(ms)));
  if (remaining) *remaining = {};
  return 0;
}
