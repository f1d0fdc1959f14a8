// The local date and time on POSIX systems.
#include "storage/clock.h"

namespace storage {

LocalStamp LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return StampOf(local);
}

}  // namespace storage
