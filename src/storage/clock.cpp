// The local date and time, as the game's files write them (each system's side reads the clock).
#include "storage/clock.h"

namespace storage {

LocalStamp StampOf(const std::tm& local) {
  char date[16];
  char time[16];
  char compact[32];
  std::strftime(date, sizeof date, "%Y-%m-%d", &local);
  std::strftime(time, sizeof time, "%H:%M:%S", &local);
  std::strftime(compact, sizeof compact, "%Y%m%d-%H%M%S", &local);
  return {date, time, compact};
}

}  // namespace storage
