// The local date and time on Windows.
#include "storage/clock.h"

#include <ctime>

namespace storage {

LocalStamp LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_s(&local, &now);
  char date[16];
  char time[16];
  char compact[32];
  std::strftime(date, sizeof date, "%Y-%m-%d", &local);
  std::strftime(time, sizeof time, "%H:%M:%S", &local);
  std::strftime(compact, sizeof compact, "%Y%m%d-%H%M%S", &local);
  return {date, time, compact};
}

}  // namespace storage
