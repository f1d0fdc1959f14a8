// Random bytes for the names of temporary files, on POSIX systems.
#include <sys/random.h>
#include <unistd.h>

#include <cstdint>
#include <ctime>

#include "storage/temporary.h"

namespace storage {

void RandomBytes(unsigned char* bytes, std::size_t count) {
  if (::getrandom(bytes, count, GRND_NONBLOCK) == static_cast<ssize_t>(count)) return;
  // No random numbers yet (early at boot): the clock still makes a name no
  // one can plant ahead of time.
  timespec t{};
  clock_gettime(CLOCK_REALTIME, &t);
  uint64_t x = uint64_t(t.tv_nsec) ^ (uint64_t(t.tv_sec) << 30) ^ uint64_t(::getpid()) << 20;
  for (std::size_t i = 0; i < count; ++i) {
    x = x * 6364136223846793005u + 1442695040888963407u;
    bytes[i] = static_cast<unsigned char>(x >> 56);
  }
}

}  // namespace storage
