// Random bytes for the names of temporary files, on POSIX systems.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <ctime>

#include "storage/temporary.h"

namespace storage {
namespace {

// getentropy(3) gives at most this many bytes a call.
constexpr std::size_t kEntropyPiece = 256;

bool FromSystem(unsigned char* bytes, std::size_t count) {
  for (std::size_t done = 0; done < count;) {
    const std::size_t piece = std::min(count - done, kEntropyPiece);
    if (::getentropy(bytes + done, piece) != 0) return false;
    done += piece;
  }
  return true;
}

}  // namespace

void RandomBytes(unsigned char* bytes, std::size_t count) {
  // getentropy is in every C library the game is built with (glibc, musl, the
  // BSDs', emscripten's over the browser's or Node's crypto).
  if (FromSystem(bytes, count)) return;
  // No random numbers to be had: the clock still makes a name no one can
  // plant ahead of time.
  timespec t{};
  clock_gettime(CLOCK_REALTIME, &t);
  uint64_t x = uint64_t(t.tv_nsec) ^ (uint64_t(t.tv_sec) << 30) ^ uint64_t(::getpid()) << 20;
  for (std::size_t i = 0; i < count; ++i) {
    x = x * 6364136223846793005u + 1442695040888963407u;
    bytes[i] = static_cast<unsigned char>(x >> 56);
  }
}

}  // namespace storage
