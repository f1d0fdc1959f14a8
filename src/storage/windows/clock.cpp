// The local date and time on Windows.
#include "storage/clock.h"

namespace storage {

LocalStamp LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_s(&local, &now);
  return StampOf(local);
}

}  // namespace storage
