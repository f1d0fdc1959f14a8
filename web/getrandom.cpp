// getrandom(2) for the web builds: emscripten's C library declares it but has
// only getentropy (the browser's or Node's crypto), which never blocks.
// (Its sys/random.h is left out: it uses size_t without defining it.)
#include <unistd.h>

#include <algorithm>
#include <cstddef>

extern "C" ssize_t getrandom(void* buffer, size_t size, unsigned /*flags*/) {
  auto* at = static_cast<unsigned char*>(buffer);
  for (size_t left = size; left > 0;) {
    const size_t part = std::min<size_t>(left, 256);  // getentropy's most for one call
    if (getentropy(at, part) != 0) return -1;
    at += part;
    left -= part;
  }
  return static_cast<ssize_t>(size);
}
