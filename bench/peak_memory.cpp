// Peak memory of a headless round: start-up, a whole round at 16 ms passes
// with every letter typed, shutdown; prints the process's peak resident size.
#include <sys/resource.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "headless_game.h"

namespace {

// The high-water mark of the resident set, in KiB, from /proc; -1 elsewhere.
long VmHwmKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

}  // namespace

int main() {
  const long before = VmHwmKb();
  int64_t passes = 0;
  {
    bench::GameFolder folder;
    bench::HeadlessGame game(folder, 5000);
    passes = game.PlayRound(16);
    game.ShutDown();
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("passes %lld\n", static_cast<long long>(passes));
  std::printf("vmhwm_before_kb %ld\n", before);
  std::printf("vmhwm_kb %ld\n", VmHwmKb());
  std::printf("maxrss_kb %ld\n", usage.ru_maxrss);
  return 0;
}
