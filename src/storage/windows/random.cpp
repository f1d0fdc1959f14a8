// Random bytes for the names of temporary files, on Windows.
#include <windows.h>
// After windows.h, which it needs.
#include <bcrypt.h>

#include <cstdint>

#include "storage/temporary.h"

namespace storage {

void RandomBytes(unsigned char* bytes, std::size_t count) {
  if (BCryptGenRandom(nullptr, bytes, static_cast<ULONG>(count), BCRYPT_USE_SYSTEM_PREFERRED_RNG) ==
      0) {
    return;
  }
  // Without the system's random numbers, the clock still makes a name no
  // one can plant ahead of time.
  LARGE_INTEGER t{};
  QueryPerformanceCounter(&t);
  uint64_t x = static_cast<uint64_t>(t.QuadPart) ^ (uint64_t{GetCurrentProcessId()} << 40);
  for (std::size_t i = 0; i < count; ++i) {
    x = x * 6364136223846793005u + 1442695040888963407u;
    bytes[i] = static_cast<unsigned char>(x >> 56);
  }
}

}  // namespace storage
